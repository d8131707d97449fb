#pragma once

#include "EditorDialog.h"

namespace zb {

class SchedulerWindowModel;

// ZB_SEQUENTA_SCHEDULER_WINDOW: the run time, the day choice, the task's
// buttons, the health line, the last command and the crontab reference.
class SchedulerWindowView : public EditorDialog {
public:
    SchedulerWindowView(SchedulerWindowModel& model, QWidget* owner);

private:
    QWidget* buildTask();
    QWidget* buildDays();
    QWidget* buildActions();

    SchedulerWindowModel& model_;
};

} // namespace zb
