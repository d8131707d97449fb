#pragma once

#include "AutocloseCountdown.h"
#include "AutostartCountdown.h"
#include "ProcessWatcher.h"
#include "RunControl.h"
#include "RunRecorder.h"
#include "TaskChain.h"
#include "TaskStopper.h"

namespace zb {

class MainWindowModel;
struct Services;

// Everything that starts, paces, holds and ends a run, attached to the main
// window's controls and timers.
class RunEngine {
public:
    RunEngine(MainWindowModel& main, const Services& services);

    TaskChain& chain() { return chain_; }
    RunControl& run() { return run_; }
    RunRecorder& recorder() { return recorder_; }
    AutostartCountdown& autostart() { return autostart_; }
    // Where the run is reported; none by default.
    void setJournal(RunJournal* journal) { recorder_.setJournal(journal); }

private:
    RunRecorder recorder_;
    TaskChain chain_;
    TaskStopper stopper_;
    ProcessWatcher watcher_;
    RunControl run_;
    AutostartCountdown autostart_;
    AutocloseCountdown autoclose_;
};

} // namespace zb
