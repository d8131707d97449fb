#include "AutocloseCountdown.h"

#include "ClockTexts.h"
#include "RunControl.h"
#include "StatusTexts.h"
#include "core/MainWindowModel.h"

namespace zb {

AutocloseCountdown::AutocloseCountdown(MainWindowModel& main, RunControl& run) : main_(main), run_(run)
{
    main_.AUTOCLOSE_TIMER.onTick = [this] { AUTOCLOSE_TIMER_Timer(); };
    main_.AUTOCLOSE_START_BUTTON.onClick = [this] { AUTOCLOSE_START_BUTTON_Click(); };
    main_.AUTOCLOSE_TIMER_TEXTBOX.onDoubleClick = [this] { AUTOCLOSE_TIMER_TEXTBOX_DblClick(); };
}

void AutocloseCountdown::AUTOCLOSE_TIMER_Timer()
{
    if (!main_.AUTOCLOSE_TICKBOX.ticked()) {
        // The end-of-run step ends here: ticking the box later must not
        // close the program over a pass that ended long before.
        main_.CURRENT_STATUS_LABEL.setCaption(status::ready(run_.passClean()));
        main_.AUTOCLOSE_START_BUTTON.setCaption(text::kStart);
        main_.AUTOCLOSE_TIMER.setEnabled(false);
        return;
    }
    main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("AUTOCLOSE COUNTDOWN STARTED"));
    main_.AUTOCLOSE_START_BUTTON.setCaption(text::kStop);
    --main_.autocloseCountdown;
    main_.AUTOCLOSE_TIMER_TEXTBOX.setText(countdownFieldText(main_.autocloseCountdown));
    if (main_.AUTOCLOSE_TIMER_TEXTBOX.text() != kCountdownFiresAt)
        return;
    main_.AUTOCLOSE_TIMER_TEXTBOX.setText(kCountdownFired);
    run_.FinishRunAndClose();
}

void AutocloseCountdown::AUTOCLOSE_START_BUTTON_Click()
{
    // Started by hand, the countdown closes the program whether or not a run
    // has taken place, and a new pass leaves it running.
    if (main_.AUTOCLOSE_START_BUTTON.caption() == text::kStart) {
        main_.AUTOCLOSE_START_BUTTON.setCaption(text::kStop);
        main_.SETTINGS_BUTTON.setEnabled(false);
        main_.AUTOCLOSE_TIMER.setEnabled(true);
        main_.autocloseStartedByHand = true;
        main_.AUTOCLOSE_TICKBOX.setEnabled(false);
        run_.autocloseArmedByHand();
        // The last-run field keeps telling the last pass; the status says this.
        main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("AUTOCLOSE - MANUAL START"));
    } else {
        main_.AUTOCLOSE_START_BUTTON.setCaption(text::kStart);
        main_.AUTOCLOSE_TIMER.setEnabled(false);
        main_.autocloseStartedByHand = false;
        main_.AUTOCLOSE_TICKBOX.setEnabled(true);
        main_.SETTINGS_BUTTON.setEnabled(!main_.AUTOSTART_TIMER.enabled());
        main_.CURRENT_STATUS_LABEL.setCaption(QStringLiteral("AUTOCLOSE - MANUAL STOP"));
    }
}

void AutocloseCountdown::AUTOCLOSE_TIMER_TEXTBOX_DblClick()
{
    main_.autocloseCountdown = kCountdownStartSeconds;
    main_.AUTOCLOSE_TIMER_TEXTBOX.setText(countdownFieldText(kCountdownStartSeconds));
}

} // namespace zb
