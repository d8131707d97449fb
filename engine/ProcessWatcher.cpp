#include "ProcessWatcher.h"

#include "RunRecorder.h"
#include "TaskChain.h"
#include "core/MainWindowModel.h"
#include "platform/ProcessQuery.h"

namespace zb {

ProcessWatcher::ProcessWatcher(MainWindowModel& main, TaskChain& chain, RunRecorder& recorder, ProcessQuery& processes)
    : main_(main),
      chain_(chain),
      recorder_(recorder),
      processes_(processes)
{
    for (int n = 1; n <= kSlotCount; ++n)
        main_.TASK_WATCHER_TIMER[n].onTick = [this, n] { TASK_WATCHER_TIMER_Timer(n); };
}

void ProcessWatcher::TASK_WATCHER_TIMER_Timer(int n)
{
    // The name is read afresh at every check: an edit during the wait counts.
    const bool running = processes_.isProcessRunning(main_.TASK_PROCESS_NAME_TEXTBOX[n].text());
    main_.TASK_PAUSE_TICKBOX[n].setBackground(colour::Green);
    if (running) {
        main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("P4P - TASK %1").arg(n));
        recorder_.waitGoesOn(n);
        return;
    }
    // The status line keeps its text until the successor's first tick.
    main_.TASK_LIGHT[n].setBackground(colour::Green);
    recorder_.waitEnded(n, false);
    chain_.enableSuccessor(n);
    main_.TASK_WATCHER_TIMER[n].setEnabled(false);
}

} // namespace zb
