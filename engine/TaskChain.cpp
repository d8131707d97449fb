#include "TaskChain.h"

#include "ClockTexts.h"
#include "core/MainWindowModel.h"
#include "platform/Launcher.h"
#include "platform/TimerHost.h"

namespace zb {

namespace {
constexpr int kHoldAfterLaunchMs = 1000;
} // namespace

TaskChain::TaskChain(MainWindowModel& main, Launcher& launcher) : main_(main), launcher_(launcher)
{
    main_.MAIN_START_STOP_BUTTON.onClick = [this] { MAIN_START_STOP_BUTTON_Click(); };
    for (int n = 1; n <= kSlotCount; ++n)
        main_.TASK_MAIN_TIMER[n].onTick = [this, n] { TASK_MAIN_TIMER_Timer(n); };
}

void TaskChain::MAIN_START_STOP_BUTTON_Click()
{
    if (main_.MAIN_START_STOP_BUTTON.caption() == text::kStart) {
        main_.MAIN_START_STOP_BUTTON.setCaption(text::kStop);
        startPass();
    } else {
        main_.MAIN_START_STOP_BUTTON.setCaption(text::kStart);
        stopMainTimers();
        // A wait cut short says so, rather than seem to wait on.
        for (int n = 1; n <= kSlotCount; ++n)
            if (main_.TASK_WATCHER_TIMER[n].enabled())
                main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("P4P - TASK %1 - STOPPED").arg(n));
        stopWatchers();
    }
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
}

void TaskChain::stopWatchers()
{
    for (Timer& t : main_.TASK_WATCHER_TIMER)
        t.setEnabled(false);
}

void TaskChain::enableSuccessor(int n)
{
    if (n < kSlotCount)
        main_.TASK_MAIN_TIMER[n + 1].setEnabled(true);
    else
        main_.AUTOCLOSE_TIMER.setEnabled(true);
}

void TaskChain::TASK_MAIN_TIMER_Timer(int n)
{
    Label& status = main_.CURRENT_STATUS_LABEL;
    TextField& light = main_.TASK_LIGHT[n];

    if (!main_.TASK_ENABLE_TICKBOX[n].ticked()) {
        status.setCaption(QStringLiteral("SKIPPING TASK %1").arg(n));
        light.setBackground(colour::Red);
        enableSuccessor(n);
        main_.TASK_MAIN_TIMER[n].setEnabled(false);
        return;
    }

    status.setCaption(QStringLiteral("RUNNING TASK %1").arg(n));
    light.setBackground(colour::Cyan);
    const LaunchResult launched = launcher_.launch(main_.TASK_CMD_TEXTBOX[n].text(), WindowStyle::NormalFocus);
    if (!launched.started) {
        // Nothing ran, so there is nothing to wait for and nothing completed.
        status.setCaption(QStringLiteral("TASK %1 FAILED TO START").arg(n));
        light.setBackground(colour::Red);
        enableSuccessor(n);
        main_.TASK_MAIN_TIMER[n].setEnabled(false);
        return;
    }
    main_.timers().sleep(kHoldAfterLaunchMs);

    if (main_.TASK_PAUSE_TICKBOX[n].ticked()) {
        if (n == 1)
            light.setBackground(colour::Green);
        main_.TASK_WATCHER_TIMER[n].setEnabled(true);
    } else {
        status.setCaption(QStringLiteral("TASK %1 COMPLETED").arg(n));
        light.setBackground(colour::Green);
        enableSuccessor(n);
    }
    main_.TASK_MAIN_TIMER[n].setEnabled(false);
}

} // namespace zb
