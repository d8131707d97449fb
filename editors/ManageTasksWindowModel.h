#pragma once

#include "EditorWindowModel.h"
#include "core/Control.h"
#include "core/SlotArray.h"

#include <array>
#include <utility>

namespace zb {

class MainWindowModel;

// ZB_SEQUENTA_MANAGE_TASKS_WINDOW: the forty slot switches on one page, read
// from the store (not from the main window), applied and stored on OK.
class ManageTasksWindowModel : public EditorWindowModel {
public:
    ManageTasksWindowModel(Settings& settings, MainWindowModel& main);

    // Geometry, the twenty enable switches, the twenty pause switches, then
    // the twenty slot names.
    void Form_Load();
    // The main window first, then the store; then closes.
    void OK_BUTTON_Click();
    void CANCEL_BUTTON_Click();

    SlotArray<TickBox> TASK_ENABLE_TICKBOX;
    SlotArray<TickBox> TASK_PAUSE_TICKBOX;
    SlotArray<TextField> TASK_LIGHT;

    Button OK_BUTTON;
    Button CANCEL_BUTTON;
    Label MANAGE_TASKS_LABEL;
    Label ZB_TITLE;
    Label ZB_SEQUENTA_TITLE;

private:
    // A slot whose switches differ from what was loaded or last applied.
    QList<int> slotsWithUnsavedEdits() const override;
    void saveEdits() override;
    void rememberSaved();

    MainWindowModel& main_;
    std::array<std::pair<int, int>, kSlotCount + 1> saved_{};
};

} // namespace zb
