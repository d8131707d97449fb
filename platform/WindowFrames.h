#pragma once

#include "platform/WindowStacking.h"

#include <QMargins>
#include <QPoint>
#include <optional>

namespace zb {

// Where a top-level window is on the desktop, asked of the window system
// itself: what a window manager last reported to the window may be wrong.
class WindowFrames {
public:
    struct Place {
        QPoint client;  // the client area's top left, in desktop pixels
        QMargins frame; // the window manager's frame around it
        QPoint frameTopLeft() const { return client - QPoint(frame.left(), frame.top()); }
    };

    virtual ~WindowFrames() = default;
    // None where the window system cannot be asked (or the window has gone).
    virtual std::optional<Place> where(WindowId window) = 0;
};

// This session's: the X server where there is one, else one that never
// knows. Lives as long as the program; call once the application object
// exists.
WindowFrames& systemWindowFrames();

} // namespace zb
