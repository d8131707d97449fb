#pragma once

#include "platform/WindowStacking.h"

#include <X11/Xlib.h>
#include <functional>

namespace zb {

// Window stacking through the window manager (EWMH): the foreground window
// is the root window's _NET_ACTIVE_WINDOW; the topmost layer is
// _NET_WM_STATE_ABOVE, added and removed by client messages to the root
// window.
class X11WindowStacking : public WindowStacking {
public:
    // knownOwn answers for the windows this program knows it made; a window
    // it does not know is still ours when its _NET_WM_PID is this process.
    X11WindowStacking(Display* display, std::function<WindowId()> mainWindow, std::function<bool(WindowId)> knownOwn);

    WindowId mainWindow() override;
    WindowId foregroundWindow() override;
    bool isOwnWindow(WindowId window) override;
    void setTopmost(WindowId window, bool topmost) override;

private:
    Display* display_;
    Window root_;
    Atom activeWindow_;
    Atom wmState_;
    Atom wmStateAbove_;
    Atom wmPid_;
    std::function<WindowId()> mainWindow_;
    std::function<bool(WindowId)> knownOwn_;
};

} // namespace zb
