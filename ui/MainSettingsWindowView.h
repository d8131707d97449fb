#pragma once

#include "EditorDialog.h"

namespace zb {

class MainSettingsWindowModel;

// ZB_SEQUENTA_MAIN_SETTINGS_WINDOW: the six switches, the doors to the other
// editors and CREATE FOLDERS, whose failures it shows in a message box.
class MainSettingsWindowView : public EditorDialog {
public:
    MainSettingsWindowView(MainSettingsWindowModel& model, QWidget* owner);
    ~MainSettingsWindowView() override;

private:
    QWidget* buildSwitches();
    QWidget* buildButtons();

    MainSettingsWindowModel& model_;
};

} // namespace zb
