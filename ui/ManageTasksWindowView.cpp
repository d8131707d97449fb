#include "ManageTasksWindowView.h"

#include "EditorStyle.h"
#include "ElidingCheckBox.h"
#include "core/ControlTexts.h"
#include "editors/ManageTasksWindowModel.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zb {

namespace {
constexpr int kColumns = 4;
}

ManageTasksWindowView::ManageTasksWindowView(ManageTasksWindowModel& model, QWidget* owner)
    : EditorDialog(model, owner),
      model_(model)
{
    auto* root = style::windowLayout(this, 10);
    root->addWidget(
        style::titleStrip(bindings_, {&model_.ZB_SEQUENTA_TITLE, &model_.MANAGE_TASKS_LABEL, &model_.ZB_TITLE}));

    auto* grid = new QGridLayout;
    grid->setSpacing(8);
    for (int n = 1; n <= kSlotCount; ++n)
        grid->addWidget(buildSlot(n), (n - 1) / kColumns, (n - 1) % kColumns);
    for (int c = 0; c < kColumns; ++c)
        grid->setColumnStretch(c, 1);
    QVBoxLayout* body = scrollingBody(root);
    body->addLayout(grid);
    body->addStretch(1);

    root->addWidget(style::dialogButtons(bindings_.bind(model_.OK_BUTTON, new QPushButton),
                                         bindings_.bind(model_.CANCEL_BUTTON, new QPushButton)));
    applyGeometry();
}

QWidget* ManageTasksWindowView::buildSlot(int n)
{
    auto* card = new QFrame;
    card->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(card);
    row->setContentsMargins(6, 4, 6, 4);
    row->addWidget(bindings_.bind(model_.TASK_LIGHT[n], style::slotNumber()), 0, Qt::AlignTop);
    auto* switches = new QVBoxLayout;
    switches->setSpacing(2);
    auto* enable = bindings_.bind(model_.TASK_ENABLE_TICKBOX[n], new ElidingCheckBox);
    enable->setFont(style::bold());
    enable->setAccessibleName(text::slotSpoken(n, text::kSpokenEnabled));
    switches->addWidget(enable);
    auto* pause = bindings_.bind(model_.TASK_PAUSE_TICKBOX[n], new QCheckBox);
    pause->setAccessibleName(text::slotSpoken(n, text::kSpokenPause));
    switches->addWidget(pause);
    row->addLayout(switches, 1);
    return card;
}

} // namespace zb
