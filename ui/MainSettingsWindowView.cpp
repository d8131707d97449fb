#include "MainSettingsWindowView.h"

#include "EditorStyle.h"
#include "editors/MainSettingsWindowModel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace zb {

MainSettingsWindowView::MainSettingsWindowView(MainSettingsWindowModel& model, QWidget* owner)
    : EditorDialog(model, owner),
      model_(model)
{
    auto* root = style::windowLayout(this, 10);
    root->addWidget(
        style::titleStrip(bindings_, {&model_.ZB_SEQUENTA_TITLE, &model_.SINGLE_SETTINGS_LABEL, &model_.ZB_TITLE}));

    auto* middle = new QHBoxLayout;
    middle->setSpacing(12);
    middle->addWidget(buildSwitches());
    middle->addWidget(buildButtons(), 1);
    scrollingBody(root)->addLayout(middle);
    stackWhenNarrow(middle);

    auto* bottom = new QHBoxLayout;
    auto* firstRun = bindings_.bind(model_.FIRST_RUN_LABEL, new QLabel);
    firstRun->setFont(style::bold());
    bottom->addWidget(bindings_.bind(model_.CREATE_FOLDERS_BUTTON, new QPushButton));
    bottom->addWidget(firstRun);
    bottom->addStretch(1);
    auto* ok = bindings_.bind(model_.OK_BUTTON, new QPushButton);
    ok->setDefault(true);
    style::wideButton(ok);
    bottom->addWidget(ok);
    root->addLayout(bottom);

    model_.showError = [this](const QString& message) { QMessageBox::warning(this, model_.title(), message); };
    applyGeometry();
}

MainSettingsWindowView::~MainSettingsWindowView() { model_.showError = nullptr; }

QWidget* MainSettingsWindowView::buildSwitches()
{
    auto* box = new QGroupBox;
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(18);
    TickBox* order[] = {&model_.AUTOSTART_TICKBOX, &model_.AUTOCLOSE_TICKBOX,        &model_.START_EMAIL_TICKBOX,
                        &model_.END_EMAIL_TICKBOX, &model_.AlwaysOnTopTimer_TICKBOX, &model_.KITT_AUTOSTART_TICKBOX};
    int i = 0;
    for (TickBox* t : order) {
        grid->addWidget(bindings_.bind(*t, new QCheckBox), i % 2, i / 2);
        ++i;
    }
    return box;
}

QWidget* MainSettingsWindowView::buildButtons()
{
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    Button* order[] = {&model_.MANAGE_TASKS_BUTTON,       &model_.VIEW_SINGLE_SETTINGS_BUTTON,
                       &model_.VIEW_ALL_SETTINGS_BUTTON,  &model_.EMAIL_SETTINGS_BUTTON,
                       &model_.SCHEDULER_SETTINGS_BUTTON, &model_.ABOUT_BUTTON};
    int i = 0;
    for (Button* b : order) {
        auto* button = bindings_.bind(*b, new QPushButton);
        // Taller than a plain button: these open the other editors.
        button->setMinimumHeight(button->fontMetrics().lineSpacing() * 2);
        grid->addWidget(button, i / 3, i % 3);
        ++i;
    }
    return box;
}

} // namespace zb
