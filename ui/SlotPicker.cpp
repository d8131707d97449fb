#include "SlotPicker.h"

#include <QAbstractButton>
#include <QGridLayout>
#include <QKeyEvent>

namespace zb {

SlotPicker::SlotPicker(const QString& spokenName, int perRow) : grid_(new QGridLayout(this)), perRow_(perRow)
{
    setAccessibleName(spokenName);
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setSpacing(6);
}

void SlotPicker::add(QAbstractButton* button)
{
    const auto i = static_cast<int>(buttons_.size());
    grid_->addWidget(button, i / perRow_, i % perRow_);
    buttons_ << button;
    button->installEventFilter(this);
    button->setFocusPolicy(buttons_.size() == 1 ? Qt::StrongFocus : Qt::ClickFocus);
}

void SlotPicker::makeTabStop(QAbstractButton* button)
{
    for (QAbstractButton* b : buttons_)
        b->setFocusPolicy(b == button ? Qt::StrongFocus : Qt::ClickFocus);
}

bool SlotPicker::eventFilter(QObject* watched, QEvent* event)
{
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button == nullptr)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn) {
        makeTabStop(button);
    } else if (event->type() == QEvent::KeyPress) {
        const auto count = static_cast<int>(buttons_.size());
        const auto at = static_cast<int>(buttons_.indexOf(button));
        int to = -1;
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Left:
            to = at - 1;
            break;
        case Qt::Key_Right:
            to = at + 1;
            break;
        case Qt::Key_Up:
            to = at - perRow_;
            break;
        case Qt::Key_Down:
            to = at + perRow_;
            break;
        case Qt::Key_Home:
            to = 0;
            break;
        case Qt::Key_End:
            to = count - 1;
            break;
        default:
            return QWidget::eventFilter(watched, event);
        }
        if (to >= 0 && to < count)
            buttons_[to]->setFocus(Qt::TabFocusReason);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zb
