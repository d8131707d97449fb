#include "TaskChain.h"

#include "ClockTexts.h"
#include "PassOutcome.h"
#include "RunRecorder.h"
#include "StatusTexts.h"
#include "core/MainWindowModel.h"
#include "core/TaskGuards.h"
#include "platform/Launcher.h"
#include "platform/ProcessQuery.h"

#include <algorithm>

namespace zb {

TaskChain::TaskChain(MainWindowModel& main, Launcher& launcher, ProcessQuery& processes, RunRecorder& recorder)
    : main_(main),
      launcher_(launcher),
      processes_(processes),
      recorder_(recorder)
{
    main_.MAIN_START_STOP_BUTTON.onClick = [this] { MAIN_START_STOP_BUTTON_Click(); };
    for (int n = 1; n <= kSlotCount; ++n)
        main_.TASK_MAIN_TIMER[n].onTick = [this, n] { TASK_MAIN_TIMER_Timer(n); };
    recorder_.onTaskFailed = [this](int n) { taskFailed(n); };
}

void TaskChain::MAIN_START_STOP_BUTTON_Click()
{
    if (main_.MAIN_START_STOP_BUTTON.caption() == text::kStart) {
        main_.MAIN_START_STOP_BUTTON.setCaption(text::kStop);
        // Started by hand, the pass is not run again by a countdown.
        if (onStartedByHand)
            onStartedByHand();
        endEarlierPass();
        beginPassWhenATaskStarts(PassStart::ByHand);
        startPass();
    } else {
        main_.MAIN_START_STOP_BUTTON.setCaption(text::kStart);
        QString said = status::stopped(pending_.has_value(), turn());
        const bool passRan = recorder_.passUnderWay();
        // STOP stops what the pass set going, its closing too.
        if (!main_.autocloseStartedByHand && main_.AUTOCLOSE_TIMER.enabled() && main_.AUTOCLOSE_TICKBOX.ticked()) {
            stopEndOfRunStep();
            said = QStringLiteral("STOPPED - THE PROGRAM STAYS OPEN");
        }
        pending_.reset();
        pendingSkips_.clear();
        recorder_.passStopped();
        stopMainTimers();
        // A wait cut short says so, rather than seem to wait on.
        for (int n = 1; n <= kSlotCount; ++n)
            if (main_.TASK_WATCHER_TIMER[n].enabled())
                said = QStringLiteral("P4P - TASK %1 - STOPPED").arg(n);
        stopWatchers();
        main_.CURRENT_STATUS_LABEL.setCaption(said);
        if (onStopped)
            onStopped(passRan);
    }
}

void TaskChain::beginPassWhenATaskStarts(PassStart how)
{
    pending_ = how;
    pendingSkips_.clear();
}

void TaskChain::beginPendingPass()
{
    if (!pending_)
        return;
    const PassStart how = *pending_;
    pending_.reset();
    recorder_.beginPass(how);
    if (onPassBegins)
        onPassBegins(how);
    for (int n : std::as_const(pendingSkips_))
        recorder_.record({.kind = JournalEvent::Kind::TaskSkipped, .slot = n});
    pendingSkips_.clear();
}

void TaskChain::startPass()
{
    // A new pass supersedes whatever is left of an earlier one: its slots,
    // its waits and its end-of-run step, so that two passes never run side
    // by side (the autostart can fire while a pass started by hand runs).
    stopMainTimers();
    stopWatchers();
    if (!main_.autocloseStartedByHand && main_.AUTOCLOSE_TIMER.enabled())
        stopEndOfRunStep();
    main_.TASK_MAIN_TIMER[1].setEnabled(true);
}

void TaskChain::endEarlierPass()
{
    pending_.reset();
    pendingSkips_.clear();
    // A pass cut short by a new one did not end: it says where it was.
    if (recorder_.passUnderWay())
        recorder_.passInterrupted(std::max(1, turn()), kInterruptionSuperseded);
    stopMainTimers();
    stopWatchers();
}

void TaskChain::stopEndOfRunStep()
{
    // Off completely, so that the next end of run counts the full eleven
    // seconds from a button that reads START.
    main_.AUTOCLOSE_TIMER.setEnabled(false);
    main_.AUTOCLOSE_START_BUTTON.setCaption(text::kStart);
    main_.autocloseCountdown = kCountdownStartSeconds;
    main_.AUTOCLOSE_TIMER_TEXTBOX.setText(countdownFieldText(kCountdownStartSeconds));
}

void TaskChain::stopMainTimers()
{
    for (Timer& t : main_.TASK_MAIN_TIMER)
        t.setEnabled(false);
    holding_.fill(false);
}

void TaskChain::stopWatchers()
{
    for (int n = 1; n <= kSlotCount; ++n) {
        main_.TASK_WATCHER_TIMER[n].setEnabled(false);
        recorder_.waitEnded(n, true);
    }
}

int TaskChain::turn() const
{
    for (int n = 1; n <= kSlotCount; ++n)
        if (main_.TASK_MAIN_TIMER[n].enabled() || main_.TASK_WATCHER_TIMER[n].enabled())
            return n;
    return 0;
}

void TaskChain::enableSuccessor(int n)
{
    if (n < kSlotCount) {
        main_.TASK_MAIN_TIMER[n + 1].setEnabled(true);
    } else {
        // A pass that skipped every slot still ran to its end.
        beginPendingPass();
        main_.AUTOCLOSE_TIMER.setEnabled(true);
        recorder_.chainEnded();
        if (onChainEnded)
            onChainEnded();
    }
}

void TaskChain::showHandedOver(int n)
{
    if (recorder_.taskFailed(n))
        return; // its light says how it ended
    main_.TASK_LIGHT[n].setBackground(colour::Green);
}

void TaskChain::TASK_MAIN_TIMER_Timer(int n)
{
    if (holding_[static_cast<std::size_t>(n)]) {
        endHold(n);
        return;
    }
    if (!main_.TASK_ENABLE_TICKBOX[n].ticked()) {
        TextField& light = main_.TASK_LIGHT[n];
        main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("SKIPPING TASK %1").arg(n));
        light.setBackground(colour::Red);
        light.setToolTip(QString());
        if (pending_)
            pendingSkips_.append(n);
        else
            recorder_.record({.kind = JournalEvent::Kind::TaskSkipped, .slot = n});
        enableSuccessor(n);
        main_.TASK_MAIN_TIMER[n].setEnabled(false);
        return;
    }
    launch(n);
}

void TaskChain::launch(int n)
{
    beginPendingPass();
    Label& status = main_.CURRENT_STATUS_LABEL;
    TextField& light = main_.TASK_LIGHT[n];
    status.setCaption(QStringLiteral("RUNNING TASK %1").arg(n));
    light.setBackground(colour::Cyan);
    light.setToolTip(QString());
    const QString command = main_.TASK_CMD_TEXTBOX[n].text();
    const QString outputFile = recorder_.taskOutputFile(n);
    const LaunchResult launched = outputFile.isEmpty() ? launcher_.launch(command, WindowStyle::NormalFocus)
                                                       : launcher_.launchLogged(command, outputFile);
    recorder_.taskLaunched(n, command, launched, outputFile);
    if (!launched.started) {
        // Nothing ran, so there is nothing to wait for and nothing completed.
        status.setCaption(problem::taskFailedToStart(n));
        light.setBackground(colour::Red);
        light.setToolTip(launched.error);
        main_.TASK_MAIN_TIMER[n].setEnabled(false);
        if (readTaskGuards(main_.settings(), n).stopChainOnFailure)
            stopChainAfter(n, QStringLiteral("task %1 failed to start").arg(n));
        else
            enableSuccessor(n);
        return;
    }
    // Asked at once, before the task can rename itself: a task that is the
    // watched process is waited for until it ends.
    const QString name = main_.TASK_PROCESS_NAME_TEXTBOX[n].text().trimmed();
    if (main_.TASK_PAUSE_TICKBOX[n].ticked() && !name.isEmpty() && launched.pid != 0 &&
        processes_.answersTo(launched.pid, name))
        recorder_.taskAnswersToName(n);
    // The main timer stays on: its next tick, one second on, ends the hold.
    holding_[static_cast<std::size_t>(n)] = true;
}

void TaskChain::endHold(int n)
{
    holding_[static_cast<std::size_t>(n)] = false;
    if (main_.TASK_PAUSE_TICKBOX[n].ticked()) {
        if (n == 1)
            showHandedOver(n);
        main_.TASK_WATCHER_TIMER[n].setEnabled(true);
        recorder_.waitBegan(n, main_.TASK_PROCESS_NAME_TEXTBOX[n].text());
    } else {
        // Its light's tip says how a task that has already ended badly ended.
        const QString failedHow = recorder_.taskFailed(n) ? main_.TASK_LIGHT[n].toolTip() : QString();
        main_.CURRENT_STATUS_LABEL.setCaption(status::handedOver(n, recorder_.runningTask(n) != 0, failedHow));
        showHandedOver(n);
        enableSuccessor(n);
    }
    main_.TASK_MAIN_TIMER[n].setEnabled(false);
}

void TaskChain::taskFailed(int n)
{
    // Only while the chain holds on the task: once it has moved on, later
    // slots may already run.
    const bool holds = holding_[static_cast<std::size_t>(n)] || main_.TASK_WATCHER_TIMER[n].enabled();
    if (holds && readTaskGuards(main_.settings(), n).stopChainOnFailure)
        stopChainAfter(n, QStringLiteral("task %1 failed").arg(n));
}

void TaskChain::stopChainAfter(int n, const QString& why)
{
    holding_[static_cast<std::size_t>(n)] = false;
    main_.TASK_MAIN_TIMER[n].setEnabled(false);
    main_.TASK_WATCHER_TIMER[n].setEnabled(false);
    recorder_.waitEnded(n, false);
    main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("TASK %1 FAILED - CHAIN STOPPED").arg(n));
    for (int m = n + 1; m <= kSlotCount; ++m) {
        main_.TASK_LIGHT[m].setBackground(colour::Red);
        main_.TASK_LIGHT[m].setToolTip(QStringLiteral("skipped: ") + why);
        recorder_.record({.kind = JournalEvent::Kind::TaskSkipped, .slot = m, .reason = why});
    }
    enableSuccessor(kSlotCount);
}

} // namespace zb
