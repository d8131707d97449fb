#include "TaskStopper.h"

#include "RunRecorder.h"
#include "platform/Launcher.h"

namespace zb {

TaskStopper::TaskStopper(TimerHost& timers, Launcher& launcher, RunRecorder& recorder)
    : launcher_(launcher),
      recorder_(recorder),
      killTimers_([&timers](int n) {
          return Timer(timers, QStringLiteral("TASK_%1_KILL_TIMER").arg(n), TaskStopper::kKillDelayMs);
      })
{
    for (int n = 1; n <= kSlotCount; ++n)
        killTimers_[n].onTick = [this, n] { KILL_TIMER_Timer(n); };
}

void TaskStopper::stop(int n, qint64 pid)
{
    if (pid == 0)
        return;
    const bool reached = launcher_.signalGroup(pid, StopSignal::Terminate);
    recorder_.taskSignalled(n, pid, StopSignal::Terminate, reached);
    pids_[static_cast<std::size_t>(n)] = pid;
    // A group that was already empty needs no second signal.
    killTimers_[n].setEnabled(reached);
}

void TaskStopper::KILL_TIMER_Timer(int n)
{
    killTimers_[n].setEnabled(false);
    // Only what is left after the grace is journaled: a task that heeded
    // SIGTERM needs no SIGKILL.
    const qint64 pid = pids_[static_cast<std::size_t>(n)];
    if (launcher_.signalGroup(pid, StopSignal::Kill))
        recorder_.taskSignalled(n, pid, StopSignal::Kill, true);
}

void TaskStopper::programClosing()
{
    for (int n = 1; n <= kSlotCount; ++n)
        if (killTimers_[n].enabled())
            KILL_TIMER_Timer(n);
}

} // namespace zb
