#pragma once

namespace zb {

class MainWindowModel;
class RunControl;

// The end-of-run step and the eleven-second countdown that closes the
// program after a run: AUTOCLOSE_TIMER, its START/STOP button and its field.
// AUTOCLOSE_TICKBOX's own click lives with the main window.
class AutocloseCountdown {
public:
    AutocloseCountdown(MainWindowModel& main, RunControl& run);
    AutocloseCountdown(const AutocloseCountdown&) = delete;
    AutocloseCountdown& operator=(const AutocloseCountdown&) = delete;

    void AUTOCLOSE_TIMER_Timer();
    void AUTOCLOSE_START_BUTTON_Click();
    void AUTOCLOSE_TIMER_TEXTBOX_DblClick();

private:
    MainWindowModel& main_;
    RunControl& run_;
};

} // namespace zb
