#pragma once

#include "EditorWindowModel.h"
#include "SlotGuardControls.h"
#include "core/Control.h"
#include "core/SlotArray.h"

#include <QStringList>

namespace zb {

class ExecutableInfo;
class FileDialog;
class MainWindowModel;
class WindowOpener;

// ZB_SEQUENTA_SINGLE_SETTINGS_WINDOW: edits the name, command, process name
// and guards of one slot at a time. The loaded slot is only the text of
// TASK_LIGHT; the three fields carry slot 1's names whatever slot is loaded.
class SingleTaskSettingsWindowModel : public EditorWindowModel {
public:
    SingleTaskSettingsWindowModel(Settings& settings, MainWindowModel& main, WindowOpener* opener,
                                  FileDialog& fileDialog, const ExecutableInfo& exe);

    // Geometry, then the slot last loaded here (slot 1 at first).
    void Form_Load();
    // Replaces the fields with slot n's stored values; unsaved edits of the
    // slot loaded are asked about first, as at a close.
    void TASK_LOAD_BUTTON_Click(int n);
    // The store first, then the main window; SAVED_LABEL says what became of it.
    void SAVE_BUTTON_Click();
    void BROWSE_FILE_BUTTON_Click();
    void VIEW_ALL_SETTINGS_BUTTON_Click();
    void OK_BUTTON_Click();

    TextField TASK_LIGHT;
    TextField TASK_1_NAME_TEXTBOX;
    TextField TASK_1_CMD_TEXTBOX;
    TextField TASK_1_PROCESS_NAME_TEXTBOX;
    // The loaded slot's time limit and stop switches.
    SlotGuardControls guards{1};

    SlotArray<Button> TASK_LOAD_BUTTON;
    Button BROWSE_FILE_BUTTON;
    Button SAVE_BUTTON;
    Button VIEW_ALL_SETTINGS_BUTTON;
    Button OK_BUTTON;

    Label TASK_NUMBER_LABEL;
    Label TASK_NAME_LABEL;
    Label TASK_PROCESS_NAME_LABEL;
    Label TASK_CMD_LABEL;
    Label TIME_LIMIT_LABEL;
    Label SINGLE_SETTINGS_LABEL;
    Label ZB_TITLE;
    Label ZB_SEQUENTA_TITLE;
    // What the last Save did; empty once a field changes.
    Label SAVED_LABEL;

protected:
    QList<int> slotsWithUnsavedEdits() const override;
    void saveEdits() override { SAVE_BUTTON_Click(); }

private:
    // The three fields as last loaded or saved, to tell edits from them.
    void rememberFields();
    void loadSlot(int n);

    // The slot whose number TASK_LIGHT shows exactly, or 0.
    int loadedSlot() const;

    MainWindowModel& main_;
    WindowOpener* opener_;
    FileDialog& fileDialog_;
    const ExecutableInfo& exe_;
    QStringList savedFields_;
};

} // namespace zb
