#include "SingleTaskSettingsWindowView.h"

#include "EditorStyle.h"
#include "SlotPicker.h"
#include "core/ControlTexts.h"
#include "editors/SingleTaskSettingsWindowModel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zb {

SingleTaskSettingsWindowView::SingleTaskSettingsWindowView(SingleTaskSettingsWindowModel& model, QWidget* owner)
    : EditorDialog(model, owner),
      model_(model)
{
    auto* root = style::windowLayout(this, 10);
    root->addWidget(
        style::titleStrip(bindings_, {&model_.ZB_SEQUENTA_TITLE, &model_.SINGLE_SETTINGS_LABEL, &model_.ZB_TITLE}));
    QVBoxLayout* body = scrollingBody(root);
    body->addWidget(buildLoadButtons());
    body->addWidget(style::horizontalRule());
    body->addWidget(buildFields());
    body->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(bindings_.bind(model_.VIEW_ALL_SETTINGS_BUTTON, new QPushButton));
    bottom->addStretch(1);
    bottom->addWidget(bindings_.bind(model_.SAVED_LABEL, new QLabel));
    // Save keeps the window open for the next slot; OK closes it.
    bottom->addWidget(style::dialogButtons(bindings_.bind(model_.OK_BUTTON, new QPushButton), nullptr,
                                           bindings_.bind(model_.SAVE_BUTTON, new QPushButton)));
    root->addLayout(bottom);
    applyGeometry();
    // The first field a user fills; the slot picker is a Shift+Tab away.
    findChild<QLineEdit*>(model_.TASK_1_NAME_TEXTBOX.objectName())->setFocus();
}

QWidget* SingleTaskSettingsWindowView::buildLoadButtons()
{
    constexpr int kPerRow = 10;
    auto* picker = new SlotPicker(text::kSpokenSlotPicker, kPerRow);
    for (int n = 1; n <= kSlotCount; ++n) {
        auto* load = bindings_.bind(model_.TASK_LOAD_BUTTON[n], new QPushButton);
        picker->add(load);
    }
    return picker;
}

QWidget* SingleTaskSettingsWindowView::buildFields()
{
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);

    grid->addWidget(bindings_.bind(model_.TASK_NUMBER_LABEL, new QLabel), 0, 0, Qt::AlignHCenter);
    auto* nameLabel = bindings_.bind(model_.TASK_NAME_LABEL, new QLabel);
    grid->addWidget(nameLabel, 0, 1);
    auto* processLabel = bindings_.bind(model_.TASK_PROCESS_NAME_LABEL, new QLabel);
    grid->addWidget(processLabel, 0, 2);
    grid->addWidget(bindings_.bind(model_.TASK_LIGHT, style::slotNumber()), 1, 0);
    auto* name = bindings_.bind(model_.TASK_1_NAME_TEXTBOX, new QLineEdit);
    nameLabel->setBuddy(name);
    grid->addWidget(name, 1, 1);
    auto* process = bindings_.bind(model_.TASK_1_PROCESS_NAME_TEXTBOX, new QLineEdit);
    processLabel->setBuddy(process);
    grid->addWidget(process, 1, 2);

    auto* commandLabel = bindings_.bind(model_.TASK_CMD_LABEL, new QLabel);
    grid->addWidget(commandLabel, 2, 1, 1, 2);
    auto* browse = new QPushButton;
    bindings_.bind(model_.BROWSE_FILE_BUTTON, browse,
                   [browse] { browse->setAccessibleName(text::kSpokenBrowseCommand); });
    browse->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    style::squareButton(browse);
    grid->addWidget(browse, 3, 0);
    auto* command = bindings_.bind(model_.TASK_1_CMD_TEXTBOX, new QLineEdit);
    commandLabel->setBuddy(command);
    grid->addWidget(command, 3, 1, 1, 2);

    auto* limitLabel = bindings_.bind(model_.TIME_LIMIT_LABEL, new QLabel);
    grid->addWidget(limitLabel, 4, 1, 1, 2);
    auto* guardRow = new QHBoxLayout;
    auto* limit = bindings_.bind(model_.guards.TIME_LIMIT_TEXTBOX, new QLineEdit);
    style::fitWidth(limit, QStringLiteral("00000.0"));
    limitLabel->setBuddy(limit);
    guardRow->addWidget(limit);
    guardRow->addWidget(bindings_.bind(model_.guards.TIME_LIMIT_STOP_TICKBOX, new QCheckBox));
    guardRow->addWidget(bindings_.bind(model_.guards.STOP_ON_FAILURE_TICKBOX, new QCheckBox));
    guardRow->addStretch(1);
    grid->addLayout(guardRow, 5, 1, 1, 2);

    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 2);
    grid->setRowMinimumHeight(2, fontMetrics().lineSpacing() + 6);
    return box;
}

} // namespace zb
