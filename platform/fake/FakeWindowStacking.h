#pragma once

#include "platform/WindowStacking.h"

#include <QList>
#include <QSet>

namespace zb {

// A scripted desktop: the test sets the main window, the foreground window,
// which windows are the program's own and which another copy's; every call is
// recorded, and the topmost layer is kept as a set. `tells` false makes it a
// desktop that cannot tell of changes; `problem` one without a topmost layer.
class FakeWindowStacking : public WindowStacking {
public:
    struct SetTopmost {
        WindowId window;
        bool topmost;
        bool operator==(const SetTopmost&) const = default;
    };

    QString topmostProblem() override { return problem; }
    WindowId mainWindow() override { return main; }
    WindowId foregroundWindow() override
    {
        ++foregroundQueries;
        return foreground;
    }
    bool isOwnWindow(WindowId window) override { return window != 0 && (window == main || own.contains(window)); }
    bool isAnotherCopy(WindowId window) override { return copies.contains(window); }
    bool isTopmost(WindowId window) override { return topmostWindows.contains(window); }
    void setTopmost(WindowId window, bool topmost) override
    {
        calls.append({window, topmost});
        if (topmost)
            topmostWindows.insert(window);
        else
            topmostWindows.remove(window);
    }
    bool watch(std::function<void()> listener) override
    {
        if (!tells)
            return false;
        onChange = std::move(listener);
        return true;
    }
    // Another window takes the foreground, or the stacking changes otherwise.
    void activate(WindowId window)
    {
        foreground = window;
        changed();
    }
    void changed() const
    {
        if (onChange)
            onChange();
    }

    WindowId main = 0;
    WindowId foreground = 0;
    QSet<WindowId> own;
    QSet<WindowId> copies;
    QSet<WindowId> topmostWindows;
    QList<SetTopmost> calls;
    int foregroundQueries = 0;
    QString problem;
    bool tells = false;
    std::function<void()> onChange;
};

} // namespace zb
