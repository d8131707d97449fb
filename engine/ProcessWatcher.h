#pragma once

#include "core/SlotArray.h"

#include <array>
#include <cstdint>

namespace zb {

class MainWindowModel;
class ProcessQuery;
class RunRecorder;
class TaskChain;
class TaskStopper;

// The pause-for-process wait of a slot: once a second, while its
// TASK_n_WATCHER_TIMER is on, asks whether a process of the slot's name still
// runs, and hands over to the slot's successor once none does, or once the
// wait has outlasted the slot's time limit.
class ProcessWatcher {
public:
    ProcessWatcher(MainWindowModel& main, TaskChain& chain, RunRecorder& recorder, ProcessQuery& processes,
                   TaskStopper& stopper);
    ProcessWatcher(const ProcessWatcher&) = delete;
    ProcessWatcher& operator=(const ProcessWatcher&) = delete;

    void TASK_WATCHER_TIMER_Timer(int n);

private:
    // Counts the seconds that ticks missed (the program was stopped, or too
    // busy) as seconds waited: the wait's length is the clock's, not the
    // number of ticks.
    void catchUp(int n);
    void timeOut(int n);

    MainWindowModel& main_;
    TaskChain& chain_;
    RunRecorder& recorder_;
    ProcessQuery& processes_;
    // Per slot: when its wait's timer was started, and the seconds told.
    std::array<std::int64_t, kSlotCount + 1> startedMs_{};
    std::array<std::int64_t, kSlotCount + 1> told_{};
    TaskStopper& stopper_;
};

} // namespace zb
