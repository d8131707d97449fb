#include "ProcessWatcher.h"

#include "RunRecorder.h"
#include "TaskChain.h"
#include "TaskStopper.h"
#include "core/MainWindowModel.h"
#include "core/TaskGuards.h"
#include "platform/ProcessQuery.h"
#include "platform/TimerHost.h"

#include <algorithm>

namespace zb {

namespace {
QString waitingText(int n) { return QStringLiteral("P4P - TASK %1").arg(n); }
} // namespace

ProcessWatcher::ProcessWatcher(MainWindowModel& main, TaskChain& chain, RunRecorder& recorder, ProcessQuery& processes,
                               TaskStopper& stopper)
    : main_(main),
      chain_(chain),
      recorder_(recorder),
      processes_(processes),
      stopper_(stopper)
{
    for (int n = 1; n <= kSlotCount; ++n) {
        Timer& timer = main_.TASK_WATCHER_TIMER[n];
        timer.onTick = [this, n] { TASK_WATCHER_TIMER_Timer(n); };
        timer.onEnabledChanged = [this, n, &timer] {
            if (timer.enabled()) {
                startedMs_[static_cast<std::size_t>(n)] = main_.timers().nowMs();
                told_[static_cast<std::size_t>(n)] = 0;
            }
        };
    }
}

void ProcessWatcher::catchUp(int n)
{
    // The k-th tick comes k intervals after the start; each one that came
    // late or never is counted now, before this tick counts itself.
    const auto i = static_cast<std::size_t>(n);
    const std::int64_t interval = std::max(1, main_.TASK_WATCHER_TIMER[n].interval());
    const std::int64_t due = (main_.timers().nowMs() - startedMs_[i] + interval / 2) / interval;
    for (; told_[i] + 1 < due; ++told_[i])
        recorder_.waitGoesOn(n);
    ++told_[i];
}

void ProcessWatcher::TASK_WATCHER_TIMER_Timer(int n)
{
    // The name is read afresh at every check: an edit during the wait counts.
    // Blanks around a typed name are never part of a process's name.
    const QString name = main_.TASK_PROCESS_NAME_TEXTBOX[n].text().trimmed();
    // The slot's own task holds the chain while it runs when no name is
    // given, or when it answered to the name at its launch (a task that
    // renames itself is still the one waited for).
    const bool ownTaskHolds = recorder_.runningTask(n) != 0 && (name.isEmpty() || recorder_.taskAnsweredToName(n));
    const ProcessPresence presence = name.isEmpty() ? ProcessPresence::NotRunning : processes_.isProcessRunning(name);
    main_.TASK_PAUSE_TICKBOX[n].setBackground(colour::Green);
    catchUp(n);
    if (ownTaskHolds || presence == ProcessPresence::Running) {
        // The limit is read at every check too: set during a long wait, it counts.
        const std::optional<qint64> limitMs = timeLimitMs(main_.settings().readText(keys::taskTimeLimit(n)));
        if (limitMs && (recorder_.waitSeconds(n) + 1) * 1000 >= *limitMs) {
            timeOut(n);
            return;
        }
        main_.CURRENT_STATUS_LABEL.setCaption(waitingText(n));
        recorder_.waitGoesOn(n);
        return;
    }
    // Without a process list the wait cannot be kept: the chain goes on, and
    // the status line says why. Otherwise it keeps its text until the
    // successor's first tick.
    if (presence == ProcessPresence::Unknown)
        main_.CURRENT_STATUS_LABEL.setCaption(waitingText(n) + QStringLiteral(" - PROCESS LIST UNREADABLE"));
    chain_.showHandedOver(n);
    recorder_.waitEnded(n, false);
    chain_.enableSuccessor(n);
    main_.TASK_WATCHER_TIMER[n].setEnabled(false);
}

void ProcessWatcher::timeOut(int n)
{
    const TaskGuards guards = readTaskGuards(main_.settings(), n);
    main_.CURRENT_STATUS_LABEL.setCaption(waitingText(n) + QStringLiteral(" - TIMED OUT"));
    recorder_.waitTimedOut(n);
    main_.TASK_WATCHER_TIMER[n].setEnabled(false);
    // Left running unless its slot says stop: some tasks are better finished late.
    if (guards.stopAtLimit)
        stopper_.stop(n, recorder_.launchedTask(n));
    if (guards.stopChainOnFailure)
        chain_.stopChainAfter(n, QStringLiteral("task %1 timed out").arg(n));
    else
        chain_.enableSuccessor(n);
}

} // namespace zb
