#pragma once

#include "platform/WindowFrames.h"

#include <X11/Xlib.h>

namespace zb {

// A window's place on an X server: its client area's position on the root
// window (XTranslateCoordinates) and the frame its window manager put around
// it (_NET_FRAME_EXTENTS; none without one).
class X11WindowFrames : public WindowFrames {
public:
    // The display stays the caller's.
    explicit X11WindowFrames(Display* display);

    std::optional<Place> where(WindowId window) override;
    // By a synthetic ConfigureNotify, the way a window manager tells a
    // client it moved it.
    bool tellTruePlace(WindowId window, const QPoint& believed) override;

private:
    Display* display_;
    Atom frameExtents_;
};

} // namespace zb
