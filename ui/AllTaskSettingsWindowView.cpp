#include "AllTaskSettingsWindowView.h"

#include "EditorStyle.h"
#include "core/ControlTexts.h"
#include "editors/AllTaskSettingsWindowModel.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>
#include <utility>

namespace zb {

namespace {

constexpr int kRowsPerBlock = 10;
constexpr int kRuleAfterRow = 5;

// Hands a label's clicks to a callback.
class ClickFilter : public QObject {
public:
    ClickFilter(QObject* parent, std::function<void()> onClick) : QObject(parent), onClick_(std::move(onClick)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            onClick_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onClick_;
};

} // namespace

AllTaskSettingsWindowView::AllTaskSettingsWindowView(AllTaskSettingsWindowModel& model, QWidget* owner)
    : EditorDialog(model, owner),
      model_(model)
{
    auto* root = style::windowLayout(this, 8);
    root->addWidget(buildTitle());

    auto* blocks = new QHBoxLayout;
    blocks->setSpacing(10);
    blocks->addWidget(buildBlock(1, model_.Label1, model_.Label2, model_.Label3, model_.Label7), 1);
    blocks->addWidget(style::verticalRule());
    blocks->addWidget(buildBlock(kRowsPerBlock + 1, model_.Label4, model_.Label5, model_.Label6, model_.Label8), 1);
    QVBoxLayout* body = scrollingBody(root);
    body->addLayout(blocks);
    stackWhenNarrow(blocks);
    body->addWidget(style::horizontalRule());
    body->addStretch(1);

    root->addWidget(style::dialogButtons(bindings_.bind(model_.SAVE_BUTTON, new QPushButton),
                                         bindings_.bind(model_.CANCEL_BUTTON, new QPushButton)));
    applyGeometry();
}

void AllTaskSettingsWindowView::keyPressEvent(QKeyEvent* event)
{
    // Enter in a field and Esc close the window as its close box does: unsaved
    // edits are asked about. Only a click on Cancel drops them unasked; a
    // focused button takes Enter itself.
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (modifiers == Qt::NoModifier && (enter || event->key() == Qt::Key_Escape)) {
        reject();
        return;
    }
    EditorDialog::keyPressEvent(event);
}

QWidget* AllTaskSettingsWindowView::buildTitle()
{
    QFrame* strip = style::titleStrip(bindings_, {&model_.ZB_SEQUENTA_TITLE, &model_.ZB_SEQUENTA_VERSION,
                                                  &model_.FREEWARE_LABEL, &model_.ZB_SEQUENTA_CREATOR});
    auto* creator = strip->findChild<QLabel*>(model_.ZB_SEQUENTA_CREATOR.objectName());
    creator->setCursor(Qt::PointingHandCursor);
    creator->installEventFilter(new ClickFilter(creator, [this] { model_.ZB_SEQUENTA_CREATOR_Click(); }));
    return strip;
}

QWidget* AllTaskSettingsWindowView::buildBlock(int firstSlot, Label& nameHeading, Label& commandHeading,
                                               Label& processHeading, Label& limitHeading)
{
    auto* block = new QWidget;
    auto* grid = new QGridLayout(block);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    grid->addWidget(bindings_.bind(nameHeading, new QLabel), 0, 1);
    grid->addWidget(bindings_.bind(commandHeading, new QLabel), 0, 2);
    grid->addWidget(bindings_.bind(processHeading, new QLabel), 0, 3);
    grid->addWidget(bindings_.bind(limitHeading, new QLabel), 0, 4, 1, 3);

    int row = 1;
    for (int i = 0; i < kRowsPerBlock; ++i) {
        if (i == kRuleAfterRow)
            grid->addWidget(style::horizontalRule(), row++, 0, 1, 7);
        const int n = firstSlot + i;
        grid->addWidget(bindings_.bind(model_.TASK_LIGHT[n], style::slotNumber()), row, 0);
        const struct {
            TextField& field;
            const char* spoken;
        } columns[] = {{model_.TASK_NAME_TEXTBOX[n], text::kSpokenName},
                       {model_.TASK_CMD_TEXTBOX[n], text::kSpokenCommand},
                       {model_.TASK_PROCESS_NAME_TEXTBOX[n], text::kSpokenProcess}};
        int column = 1;
        for (const auto& c : columns) {
            auto* edit = bindings_.bind(c.field, new QLineEdit);
            edit->setAccessibleName(text::slotSpoken(n, c.spoken));
            grid->addWidget(edit, row, column++);
        }
        SlotGuardControls& guards = model_.guards[n];
        auto* limit = bindings_.bind(guards.TIME_LIMIT_TEXTBOX, new QLineEdit);
        style::fitWidth(limit, QStringLiteral("00000.0"));
        limit->setAccessibleName(QStringLiteral("Slot %1 time limit in minutes").arg(n));
        grid->addWidget(limit, row, 4);
        auto* stop = bindings_.bind(guards.TIME_LIMIT_STOP_TICKBOX, new QCheckBox);
        stop->setAccessibleName(QStringLiteral("Slot %1 stop at its limit").arg(n));
        grid->addWidget(stop, row, 5);
        auto* stopChain = bindings_.bind(guards.STOP_ON_FAILURE_TICKBOX, new QCheckBox);
        stopChain->setAccessibleName(QStringLiteral("Slot %1 stop the chain if it fails").arg(n));
        grid->addWidget(stopChain, row, 6);
        ++row;
    }
    // The widths of the original columns: name 2175, command 3135, process 2295 twips.
    grid->setColumnStretch(1, 2175);
    grid->setColumnStretch(2, 3135);
    grid->setColumnStretch(3, 2295);
    return block;
}

} // namespace zb
