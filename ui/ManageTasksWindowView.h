#pragma once

#include "EditorDialog.h"

namespace zb {

class ManageTasksWindowModel;

// ZB_SEQUENTA_MANAGE_TASKS_WINDOW: twenty slot cards, each with its number,
// its enable switch under the slot name and its P-4-P switch.
class ManageTasksWindowView : public EditorDialog {
public:
    ManageTasksWindowView(ManageTasksWindowModel& model, QWidget* owner);

private:
    QWidget* buildSlot(int n);

    ManageTasksWindowModel& model_;
};

} // namespace zb
