#pragma once

#include "EmailBatch.h"

namespace zb {

class ExecutableInfo;
class Files;
class Launcher;
class MainWindowModel;
class RunRecorder;
class TaskChain;

// The unattended start and finish of a run, the e-mail batch files they run,
// and the run-time clock.
class RunControl {
public:
    RunControl(MainWindowModel& main, TaskChain& chain, RunRecorder& recorder, Launcher& launcher, Files& files,
               const ExecutableInfo& exe);
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    // The autostart has fired: clock on, start e-mail, a pass from slot 1.
    void StartRunFromAutostart();
    // The autoclose has run out: end e-mail, the pass's last-run text stored
    // ("COMPLETED SUCCESSFULLY" when nothing went wrong), the program closed.
    void FinishRunAndClose();
    // Starts the batch file of that kind hidden and returns at once. A file
    // that is missing or cannot be started is reported in the status line and
    // counts against the pass.
    void RunEmailBatch(EmailBatch kind);
    void RUNTIME_TIMER_Timer();

private:
    MainWindowModel& main_;
    TaskChain& chain_;
    RunRecorder& recorder_;
    Launcher& launcher_;
    Files& files_;
    const ExecutableInfo& exe_;
};

} // namespace zb
