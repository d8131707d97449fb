#pragma once

#include "platform/WindowFrames.h"

#include <QAbstractNativeEventFilter>
#include <unordered_map>

// Xlib's macros would break Qt's headers: it comes last.
#include <X11/Xlib.h>

namespace zb {

// A window's place on an X server: its client area's position on the root
// window (XTranslateCoordinates) and the frame its window manager put around
// it (_NET_FRAME_EXTENTS; none without one). Watches read the property
// changes of Qt's own connection, which `display` must be.
class X11WindowFrames : public WindowFrames, private QAbstractNativeEventFilter {
public:
    // The display stays the caller's.
    explicit X11WindowFrames(Display* display);
    ~X11WindowFrames() override;

    std::optional<Place> where(WindowId window) override;
    // By a synthetic ConfigureNotify, the way a window manager tells a
    // client it moved it.
    bool tellTruePlace(WindowId window) override;
    void watch(WindowId window, std::function<void()> reframed) override;
    void unwatch(WindowId window) override;

private:
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* result) override;

    Display* display_;
    Atom frameExtents_;
    std::unordered_map<WindowId, std::function<void()>> watches_;
};

} // namespace zb
