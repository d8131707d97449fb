#include "AutostartCountdown.h"

#include "ClockTexts.h"
#include "RunControl.h"
#include "StatusTexts.h"
#include "core/ControlTexts.h"
#include "core/MainWindowModel.h"

namespace zb {

AutostartCountdown::AutostartCountdown(MainWindowModel& main, RunControl& run) : main_(main), run_(run)
{
    main_.AUTOSTART_TIMER.onTick = [this] { AUTOSTART_TIMER_Timer(); };
    main_.AUTOSTART_START_BUTTON.onClick = [this] { AUTOSTART_START_BUTTON_Click(); };
    main_.AUTOSTART_TIMER_TEXTBOX.onDoubleClick = [this] { AUTOSTART_TIMER_TEXTBOX_DblClick(); };
}

void AutostartCountdown::AUTOSTART_TIMER_Timer()
{
    // Never clamped nor reset on firing: a restarted countdown runs on below
    // zero and fires again sixty ticks later.
    --main_.autostartCountdown;
    main_.AUTOSTART_TIMER_TEXTBOX.setText(countdownFieldText(main_.autostartCountdown));
    if (main_.AUTOSTART_TIMER_TEXTBOX.text() != kCountdownFiresAt) {
        // Said in full every second, so that nobody misses what is coming or
        // how to keep it from coming.
        main_.CURRENT_STATUS_LABEL.setCaption(text::autostartIn(main_.AUTOSTART_TIMER_TEXTBOX.text().toInt()));
        main_.AUTOSTART_START_BUTTON.setCaption(text::kStop);
        showCounting(true);
        return;
    }
    main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("!!! AUTOSTARTING !!!"));
    main_.AUTOSTART_TIMER_TEXTBOX.setText(kCountdownFired);
    main_.AUTOSTART_START_BUTTON.setCaption(text::kStart);
    main_.AUTOSTART_TIMER.setEnabled(false);
    showCounting(false);
    // SETTINGS_BUTTON stays disabled: the run goes on.
    run_.StartRunFromAutostart();
}

bool AutostartCountdown::cancel()
{
    if (!main_.AUTOSTART_TIMER.enabled())
        return false;
    main_.AUTOSTART_TIMER.setEnabled(false);
    main_.AUTOSTART_START_BUTTON.setCaption(text::kStart);
    main_.SETTINGS_BUTTON.setEnabled(!main_.autocloseStartedByHand);
    showCounting(false);
    return true;
}

void AutostartCountdown::holdForThisStart()
{
    if (!cancel())
        return;
    main_.CURRENT_STATUS_LABEL.setCaption(
        QStringLiteral("OPENED WITHOUT STARTING - AUTOSTART'S START RUNS THE COUNTDOWN"));
}

void AutostartCountdown::showCounting(bool counting)
{
    main_.AUTOSTART_TIMER_TEXTBOX.setBackground(counting ? colour::Yellow : colour::None);
    main_.AUTOSTART_TIMER_TEXTBOX.setForeground(counting ? colour::Black : colour::None);
    main_.AUTOSTART_START_BUTTON.setToolTip(counting ? text::kAutostartStopTip : text::kAutostartStartTip);
}

void AutostartCountdown::AUTOSTART_START_BUTTON_Click()
{
    // Leaves the countdown value alone: a stopped countdown resumes.
    if (main_.AUTOSTART_START_BUTTON.caption() == text::kStart) {
        main_.AUTOSTART_START_BUTTON.setCaption(text::kStop);
        main_.SETTINGS_BUTTON.setEnabled(false);
        main_.AUTOSTART_TIMER.setEnabled(true);
        showCounting(true);
        // The last-run field keeps telling the last pass; the status says this.
        main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("AUTOSTART - MANUAL START"));
    } else {
        main_.AUTOSTART_START_BUTTON.setCaption(text::kStart);
        main_.SETTINGS_BUTTON.setEnabled(true);
        main_.AUTOSTART_TIMER.setEnabled(false);
        showCounting(false);
        main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("AUTOSTART - MANUAL STOP - NOTHING RAN"));
    }
}

void AutostartCountdown::AUTOSTART_TIMER_TEXTBOX_DblClick()
{
    main_.autostartCountdown = kCountdownStartSeconds;
    main_.AUTOSTART_TIMER_TEXTBOX.setText(countdownFieldText(kCountdownStartSeconds));
}

} // namespace zb
