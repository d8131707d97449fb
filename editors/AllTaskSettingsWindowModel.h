#pragma once

#include "EditorWindowModel.h"
#include "SlotGuardControls.h"
#include "core/Control.h"
#include "core/SlotArray.h"

#include <QStringList>
#include <array>

namespace zb {

class MainWindowModel;

// ZB_SEQUENTA_SETTINGS: the names, commands, process names and guards of all
// twenty slots in one grid, saved in one go.
class AllTaskSettingsWindowModel : public EditorWindowModel {
public:
    AllTaskSettingsWindowModel(Settings& settings, MainWindowModel& main);

    // Geometry, then the twenty names, commands and process names.
    void Form_Load();
    // The position and all sixty values to the store, then the sixty values
    // to the main window; the window stays open and Cancel becomes Close.
    void SAVE_BUTTON_Click();
    // Stores the position and closes; unsaved edits are dropped without a
    // question, as the button says.
    void CANCEL_BUTTON_Click();
    // Swaps the credit line for a contact line.
    void ZB_SEQUENTA_CREATOR_Click();

    SlotArray<TextField> TASK_LIGHT;
    SlotArray<TextField> TASK_NAME_TEXTBOX;
    SlotArray<TextField> TASK_CMD_TEXTBOX;
    SlotArray<TextField> TASK_PROCESS_NAME_TEXTBOX;
    // Each slot's time limit and stop switches.
    SlotArray<SlotGuardControls> guards;

    Button SAVE_BUTTON;
    Button CANCEL_BUTTON;

    Label Label1;
    Label Label2;
    Label Label3;
    Label Label4;
    Label Label5;
    Label Label6;
    // The time limit headings of the two blocks.
    Label Label7;
    Label Label8;
    Label ZB_SEQUENTA_TITLE;
    Label ZB_SEQUENTA_VERSION;
    Label FREEWARE_LABEL;
    Label ZB_SEQUENTA_CREATOR;

protected:
    QList<int> slotsWithUnsavedEdits() const override;
    void saveEdits() override { SAVE_BUTTON_Click(); }

private:
    // The sixty fields as last loaded or saved, to tell edits from them.
    void rememberFields();
    QStringList fieldsOf(int n) const;

    MainWindowModel& main_;
    std::array<QStringList, kSlotCount + 1> savedFields_;
};

} // namespace zb
