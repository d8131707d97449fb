#include "AutostartCountdown.h"

#include "ClockTexts.h"
#include "RunControl.h"
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
    main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("!!! AUTOSTARTING !!!"));
    // Never clamped nor reset on firing: a restarted countdown runs on below
    // zero and fires again sixty ticks later.
    --main_.autostartCountdown;
    main_.AUTOSTART_TIMER_TEXTBOX.setText(countdownFieldText(main_.autostartCountdown));
    if (main_.AUTOSTART_TIMER_TEXTBOX.text() != kCountdownFiresAt) {
        main_.AUTOSTART_START_BUTTON.setCaption(text::kStop);
        return;
    }
    main_.AUTOSTART_TIMER_TEXTBOX.setText(kCountdownFired);
    run_.StartRunFromAutostart();
    main_.AUTOSTART_START_BUTTON.setCaption(text::kStart);
    // SETTINGS_BUTTON stays disabled: the run goes on.
    main_.AUTOSTART_TIMER.setEnabled(false);
}

void AutostartCountdown::AUTOSTART_START_BUTTON_Click()
{
    // Leaves the countdown value alone: a stopped countdown resumes.
    if (main_.AUTOSTART_START_BUTTON.caption() == text::kStart) {
        main_.AUTOSTART_START_BUTTON.setCaption(text::kStop);
        main_.SETTINGS_BUTTON.setEnabled(false);
        main_.AUTOSTART_TIMER.setEnabled(true);
        run_.showLastRun(QStringLiteral("AUTOSTART - MANUAL START"), colour::Green);
    } else {
        main_.AUTOSTART_START_BUTTON.setCaption(text::kStart);
        main_.SETTINGS_BUTTON.setEnabled(true);
        main_.AUTOSTART_TIMER.setEnabled(false);
        run_.showLastRun(QStringLiteral("AUTOSTART - MANUAL STOP"), colour::Red);
    }
}

void AutostartCountdown::AUTOSTART_TIMER_TEXTBOX_DblClick()
{
    main_.autostartCountdown = kCountdownStartSeconds;
    main_.AUTOSTART_TIMER_TEXTBOX.setText(countdownFieldText(kCountdownStartSeconds));
}

} // namespace zb
