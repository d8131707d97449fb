#pragma once

namespace zb {

class MainWindowModel;
class ProcessQuery;
class RunRecorder;
class TaskChain;

// The pause-for-process wait of a slot: once a second, while its
// TASK_n_WATCHER_TIMER is on, asks whether a process of the slot's name still
// runs, and hands over to the slot's successor once none does.
class ProcessWatcher {
public:
    ProcessWatcher(MainWindowModel& main, TaskChain& chain, RunRecorder& recorder, ProcessQuery& processes);
    ProcessWatcher(const ProcessWatcher&) = delete;
    ProcessWatcher& operator=(const ProcessWatcher&) = delete;

    void TASK_WATCHER_TIMER_Timer(int n);

private:
    MainWindowModel& main_;
    TaskChain& chain_;
    RunRecorder& recorder_;
    ProcessQuery& processes_;
};

} // namespace zb
