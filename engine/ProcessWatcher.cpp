#include "ProcessWatcher.h"

#include "TaskChain.h"
#include "core/MainWindowModel.h"
#include "platform/ProcessQuery.h"

namespace zb {

namespace {
QString waitingText(int n) { return QStringLiteral("P4P - TASK %1").arg(n); }
} // namespace

ProcessWatcher::ProcessWatcher(MainWindowModel& main, TaskChain& chain, ProcessQuery& processes)
    : main_(main),
      chain_(chain),
      processes_(processes)
{
    for (int n = 1; n <= kSlotCount; ++n)
        main_.TASK_WATCHER_TIMER[n].onTick = [this, n] { TASK_WATCHER_TIMER_Timer(n); };
}

void ProcessWatcher::TASK_WATCHER_TIMER_Timer(int n)
{
    // The name is read afresh at every check: an edit during the wait counts.
    // Blanks around a typed name are never part of a process's name.
    const QString name = main_.TASK_PROCESS_NAME_TEXTBOX[n].text().trimmed();
    const ProcessPresence presence = processes_.isProcessRunning(name);
    main_.TASK_PAUSE_TICKBOX[n].setBackground(colour::Green);
    if (presence == ProcessPresence::Running) {
        main_.CURRENT_STATUS_LABEL.setCaption(waitingText(n));
        return;
    }
    // Without a process list the wait cannot be kept: the chain goes on, and
    // the status line says why. Otherwise it keeps its text until the
    // successor's first tick.
    if (presence == ProcessPresence::Unknown)
        main_.CURRENT_STATUS_LABEL.setCaption(waitingText(n) + QStringLiteral(" - PROCESS LIST UNREADABLE"));
    main_.TASK_LIGHT[n].setBackground(colour::Green);
    chain_.enableSuccessor(n);
    main_.TASK_WATCHER_TIMER[n].setEnabled(false);
}

} // namespace zb
