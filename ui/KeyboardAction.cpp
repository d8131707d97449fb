#include "KeyboardAction.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace zb {

namespace {

const QString kFilterName = QStringLiteral("zb_keyboard_action");

class ActionFilter : public QObject {
public:
    ActionFilter(QWidget* control, QString label, std::function<void()> act, ActionKeys keys)
        : QObject(control),
          label_(std::move(label)),
          act_(std::move(act)),
          keys_(keys)
    {
        setObjectName(kFilterName);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && keys_ == ActionKeys::SpaceAndEnter) {
            auto* key = static_cast<QKeyEvent*>(event);
            const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
            if (plain && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
                act_();
                return true;
            }
        }
        if (event->type() == QEvent::ContextMenu) {
            auto* request = static_cast<QContextMenuEvent*>(event);
            QMenu menu(static_cast<QWidget*>(watched));
            menu.setObjectName(QStringLiteral("ACTION_MENU"));
            menu.addAction(label_, this, [this] { act_(); });
            menu.exec(request->globalPos());
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QString label_;
    std::function<void()> act_;
    ActionKeys keys_;
};

} // namespace

void offerAction(QWidget* control, const QString& label, std::function<void()> act, ActionKeys keys)
{
    for (QObject* old : control->findChildren<QObject*>(kFilterName, Qt::FindDirectChildrenOnly)) {
        control->removeEventFilter(old);
        delete old;
    }
    control->installEventFilter(new ActionFilter(control, label, std::move(act), keys));
}

} // namespace zb
