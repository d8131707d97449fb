#pragma once

#include "platform/Keyboard.h"

#include <functional>

namespace zb {

class MainWindowModel;
class TextField;

// The lock-key lights N, C and S, from one read of the keyboard for all
// three: green when the lock is on, red when off, grey when it cannot be
// read, each tooltip saying so and why a light cannot be pressed where it
// cannot. A keyboard that tells of its changes refreshes them at each change
// and NCS_TIMER sleeps; else NCS_TIMER refreshes them ten times a second. A
// double-click presses that lock key. The keyboard's tellings are passed on
// to alsoTell, for the others that show what it can do.
class LockLights {
public:
    LockLights(MainWindowModel& main, Keyboard& keyboard, std::function<void()> alsoTell = {});
    LockLights(const LockLights&) = delete;
    LockLights& operator=(const LockLights&) = delete;
    // The keyboard or desktop outlives this: it stops telling.
    ~LockLights();

    void NCS_TIMER_Timer();
    void VERT_NUM_LIGHT_LABEL_DblClick();
    void VERT_CAPS_LIGHT_LABEL_DblClick();
    void VERT_SCROLL_LIGHT_LABEL_DblClick();

private:
    void show(TextField& light, LockKey key, LockState state);

    MainWindowModel& main_;
    Keyboard& keyboard_;
};

} // namespace zb
