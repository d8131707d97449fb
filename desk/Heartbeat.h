#pragma once

namespace zb {

// The heartbeat's cycle: 301 seconds, or less when the window system blanks
// the screen after `idleLimitSeconds` (0: never), so that each press comes
// well before it would.
int heartbeatCycleSeconds(int idleLimitSeconds);

class Keyboard;
class MainWindowModel;
class ScreenSaverInhibitor;

// The keep-awake heartbeat: HEARTBEAT_TIMER counts down from 00:05:01 once a
// second; at zero NUMLOCK_TIMER_1 and NUMLOCK_TIMER_2 press Num Lock twice,
// 750 ms apart, so that it ends as it was, and flash the scanner's backdrop.
// While the heartbeat runs it also wants a screensaver inhibition, held where
// the session offers one; the countdown's tooltip says what keeps the session
// awake at each moment. A press pair under way when the program ends is
// finished, so that Num Lock is left as it was. Where the window system
// blanks the screen after less idle time than a cycle, the cycle is cut
// short so that the presses come first.
class Heartbeat {
public:
    Heartbeat(MainWindowModel& main, Keyboard& keyboard, ScreenSaverInhibitor& screenSaver);
    Heartbeat(const Heartbeat&) = delete;
    Heartbeat& operator=(const Heartbeat&) = delete;
    // Sends a second press still pending and gives the inhibition back.
    ~Heartbeat();

    void HEARTBEAT_TIMER_Timer();
    void NUMLOCK_TIMER_1_Timer();
    void NUMLOCK_TIMER_2_Timer();
    void HEARTBEAT_COUNTDOWN_TEXTBOX_DblClick();
    // The keyboard told of a change: what it can press, and the idle limit,
    // may be known only now.
    void keyboardChanged();

private:
    // HEARTBEAT_TIMER was started or stopped, by whoever.
    void runningChanged();
    void fitCountdownToIdleLimit();
    void showKeepAwake();

    MainWindowModel& main_;
    Keyboard& keyboard_;
    ScreenSaverInhibitor& screenSaver_;
};

} // namespace zb
