#pragma once

#include "platform/Keyboard.h"
#include "platform/ScreenSaverInhibitor.h"
#include "platform/WindowStacking.h"

#include <utility>

namespace zb {

// For systems, or sessions, without a keyboard state, a window stacking or a
// screensaver service: every lock unknown, no presses, no windows, no
// inhibition. Each says why, for the user.
class NullKeyboard : public Keyboard {
public:
    explicit NullKeyboard(QString why = QStringLiteral("this system has no keyboard state to read"))
        : why_(std::move(why))
    {}
    QString readProblem() const override { return why_; }
    QString pressProblem(LockKey) const override { return why_; }
    LockStates lockStates() override { return {}; }
    bool press(LockKey) override { return false; }
    // Nothing will ever change: there is nothing to look at either.
    bool watch(std::function<void()>) override { return true; }

private:
    QString why_;
};

class NullWindowStacking : public WindowStacking {
public:
    explicit NullWindowStacking(QString why = QStringLiteral("this system has no window stacking to ask"))
        : why_(std::move(why))
    {}
    QString topmostProblem() override { return why_; }
    WindowId mainWindow() override { return 0; }
    WindowId foregroundWindow() override { return 0; }
    bool isOwnWindow(WindowId) override { return false; }
    bool isAnotherCopy(WindowId) override { return false; }
    bool isTopmost(WindowId) override { return false; }
    void setTopmost(WindowId, bool) override {}
    bool watch(std::function<void()>) override { return true; }

private:
    QString why_;
};

class NullScreenSaverInhibitor : public ScreenSaverInhibitor {
public:
    void inhibit(const QString&) override {}
    void release() override {}
    InhibitionHolder holder() const override { return InhibitionHolder::None; }
};

} // namespace zb
