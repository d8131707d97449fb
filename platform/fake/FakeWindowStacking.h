#pragma once

#include "platform/WindowStacking.h"

#include <QList>
#include <QSet>

namespace zb {

// A scripted desktop: the test sets the main window, the foreground window
// and which windows are the program's own; every call is recorded, and the
// topmost layer is kept as a set.
class FakeWindowStacking : public WindowStacking {
public:
    struct SetTopmost {
        WindowId window;
        bool topmost;
        bool operator==(const SetTopmost&) const = default;
    };

    WindowId mainWindow() override { return main; }
    WindowId foregroundWindow() override
    {
        ++foregroundQueries;
        return foreground;
    }
    bool isOwnWindow(WindowId window) override { return window != 0 && (window == main || own.contains(window)); }
    void setTopmost(WindowId window, bool topmost) override
    {
        calls.append({window, topmost});
        if (topmost)
            topmostWindows.insert(window);
        else
            topmostWindows.remove(window);
    }

    WindowId main = 0;
    WindowId foreground = 0;
    QSet<WindowId> own;
    QSet<WindowId> topmostWindows;
    QList<SetTopmost> calls;
    int foregroundQueries = 0;
};

} // namespace zb
