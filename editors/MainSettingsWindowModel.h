#pragma once

#include "EditorWindowModel.h"
#include "core/Control.h"
#include "core/WindowOpener.h"

#include <functional>

namespace zb {

class ExecutableInfo;
class Folders;
class MainWindowModel;

// ZB_SEQUENTA_MAIN_SETTINGS_WINDOW: the six program-wide switches, mirrored
// onto the main window at once and stored on OK; the working folders; the
// doors to the other editors.
class MainSettingsWindowModel : public EditorWindowModel {
public:
    MainSettingsWindowModel(Settings& settings, MainWindowModel& main, WindowOpener* opener, Folders& folders,
                            const ExecutableInfo& exe);

    // Geometry, then the six switches; a switch whose stored value differs
    // from its design value here is mirrored onto the main window.
    void Form_Load();
    // A tick that differs from the store: OK has not been pressed.
    bool hasUnsavedEdits() const override;
    void OK_BUTTON_Click();

    void AUTOSTART_TICKBOX_Click();
    void AlwaysOnTopTimer_TICKBOX_Click();
    void AUTOCLOSE_TICKBOX_Click();
    void KITT_AUTOSTART_TICKBOX_Click();
    void START_EMAIL_TICKBOX_Click();
    void END_EMAIL_TICKBOX_Click();

    void MANAGE_TASKS_BUTTON_Click();
    void VIEW_SINGLE_SETTINGS_BUTTON_Click();
    void VIEW_ALL_SETTINGS_BUTTON_Click();
    void EMAIL_SETTINGS_BUTTON_Click();
    void SCHEDULER_SETTINGS_BUTTON_Click();
    void ABOUT_BUTTON_Click();
    // Makes BATS, then LOGS, in the program folder; a failure is reported and
    // does not stop the second folder.
    void CREATE_FOLDERS_BUTTON_Click();

    // Set by the view: tells the user what went wrong.
    std::function<void(const QString& message)> showError;

    TickBox AUTOSTART_TICKBOX;
    TickBox AlwaysOnTopTimer_TICKBOX;
    TickBox AUTOCLOSE_TICKBOX;
    TickBox KITT_AUTOSTART_TICKBOX;
    TickBox START_EMAIL_TICKBOX;
    TickBox END_EMAIL_TICKBOX;

    Button OK_BUTTON;
    Button MANAGE_TASKS_BUTTON;
    Button VIEW_SINGLE_SETTINGS_BUTTON;
    Button VIEW_ALL_SETTINGS_BUTTON;
    Button EMAIL_SETTINGS_BUTTON;
    Button SCHEDULER_SETTINGS_BUTTON;
    Button ABOUT_BUTTON;
    Button CREATE_FOLDERS_BUTTON;

    Label FIRST_RUN_LABEL;
    Label ZB_SEQUENTA_TITLE;
    Label ZB_TITLE;
    Label SINGLE_SETTINGS_LABEL;

private:
    void open(WindowKind kind);
    void makeFolder(const QString& name);

    MainWindowModel& main_;
    WindowOpener* opener_;
    Folders& folders_;
    const ExecutableInfo& exe_;
};

} // namespace zb
