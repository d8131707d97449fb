#pragma once

#include "core/SlotArray.h"
#include "core/Timer.h"

#include <array>

namespace zb {

class Launcher;
class RunRecorder;

// Stops a slot's task that outlasted its time limit: SIGTERM to its group at
// once, SIGKILL ten seconds later to whatever of the group is still there.
// Both are journaled.
class TaskStopper {
public:
    static constexpr int kKillDelayMs = 10'000;

    TaskStopper(TimerHost& timers, Launcher& launcher, RunRecorder& recorder);
    TaskStopper(const TaskStopper&) = delete;
    TaskStopper& operator=(const TaskStopper&) = delete;

    void stop(int n, qint64 pid);
    void KILL_TIMER_Timer(int n);
    // A group still in its grace gets its SIGKILL now: once the program has
    // closed, nobody would send it, and a task deaf to SIGTERM would run on.
    void programClosing();

private:
    Launcher& launcher_;
    RunRecorder& recorder_;
    SlotArray<Timer> killTimers_;
    std::array<qint64, kSlotCount + 1> pids_{};
};

} // namespace zb
