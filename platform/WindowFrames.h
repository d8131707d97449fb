#pragma once

#include "platform/WindowStacking.h"

#include <QMargins>
#include <QPoint>
#include <functional>
#include <optional>

namespace zb {

// Where a top-level window is on the desktop, asked of the window system
// itself: what a window manager last reported to the window may be wrong.
class WindowFrames {
public:
    struct Place {
        QPoint client;  // the client area's top left, in the window system's pixels
        QMargins frame; // the window manager's frame around it
        QPoint frameTopLeft() const { return client - QPoint(frame.left(), frame.top()); }
    };

    virtual ~WindowFrames() = default;
    // None where the window system cannot be asked (or the window has gone).
    virtual std::optional<Place> where(WindowId window) = 0;
    // Tells the window where the window system has its client area, as its
    // window manager should have: one that reports a placement wrongly
    // (icewm, for a window placed by its client area) or not at all leaves
    // everything the toolkit places by desktop coordinates (menus, tooltips,
    // accessibility) as far off. False when the window cannot be told.
    virtual bool tellTruePlace(WindowId window) = 0;
    // Calls `reframed` each time the window manager announces the window's
    // frame anew (late after a placement, or another window manager taking
    // over), which moves nothing the toolkit would notice; one watch a
    // window, until unwatch().
    virtual void watch(WindowId window, std::function<void()> reframed) = 0;
    virtual void unwatch(WindowId window) = 0;
};

// This session's: the X server where there is one, else one that never
// knows. Lives as long as the program; call once the application object
// exists.
WindowFrames& systemWindowFrames();

} // namespace zb
