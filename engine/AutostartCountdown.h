#pragma once

namespace zb {

class MainWindowModel;
class RunControl;

// The eleven-second countdown that starts a run by itself shortly after the
// program opens: AUTOSTART_TIMER, its START/STOP button and its field.
class AutostartCountdown {
public:
    AutostartCountdown(MainWindowModel& main, RunControl& run);
    AutostartCountdown(const AutostartCountdown&) = delete;
    AutostartCountdown& operator=(const AutostartCountdown&) = delete;

    void AUTOSTART_TIMER_Timer();
    void AUTOSTART_START_BUTTON_Click();
    void AUTOSTART_TIMER_TEXTBOX_DblClick();
    // A start by a person who asked not to run the chain: the countdown that
    // start-up armed is put off; the button still starts it.
    void holdForThisStart();
    // Puts a running countdown off, silently; false when none ran.
    bool cancel();

private:
    void showCounting(bool counting);

    MainWindowModel& main_;
    RunControl& run_;
};

} // namespace zb
