#pragma once

#include "platform/Keyboard.h"
#include "platform/ScreenSaverInhibitor.h"
#include "platform/WindowStacking.h"

namespace zb {

// For systems, or sessions, without a keyboard state, a window stacking or a
// screensaver service: every lock unknown, no presses, no windows, no
// inhibition.
class NullKeyboard : public Keyboard {
public:
    bool canPress() const override { return false; }
    LockStates lockStates() override { return {}; }
    bool press(LockKey) override { return false; }
};

class NullWindowStacking : public WindowStacking {
public:
    WindowId mainWindow() override { return 0; }
    WindowId foregroundWindow() override { return 0; }
    bool isOwnWindow(WindowId) override { return false; }
    void setTopmost(WindowId, bool) override {}
};

class NullScreenSaverInhibitor : public ScreenSaverInhibitor {
public:
    bool inhibit(const QString&) override { return false; }
    void release() override {}
    bool held() const override { return false; }
};

} // namespace zb
