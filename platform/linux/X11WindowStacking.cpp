#include "X11WindowStacking.h"

#include "X11ErrorTrap.h"

#include <X11/Xatom.h>
#include <unistd.h>
#include <utility>

namespace zb {

namespace {

// The first 32-bit item of a window's property, or 0 when it has none (or
// the window has gone).
unsigned long cardinalProperty(Display* display, Window window, Atom property, Atom type)
{
    const X11ErrorTrap trap;
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long items = 0, bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, 1, False, type, &actualType, &actualFormat,
                                          &items, &bytesAfter, &data);
    unsigned long value = 0;
    if (status == Success && !trap.failed() && data != nullptr && actualType == type && actualFormat == 32 &&
        items == 1)
        value = *reinterpret_cast<unsigned long*>(data); // Xlib hands 32-bit items as longs
    if (data != nullptr)
        XFree(data);
    return value;
}

} // namespace

X11WindowStacking::X11WindowStacking(Display* display, std::function<WindowId()> mainWindow,
                                     std::function<bool(WindowId)> knownOwn)
    : display_(display),
      root_(DefaultRootWindow(display)),
      activeWindow_(XInternAtom(display, "_NET_ACTIVE_WINDOW", False)),
      wmState_(XInternAtom(display, "_NET_WM_STATE", False)),
      wmStateAbove_(XInternAtom(display, "_NET_WM_STATE_ABOVE", False)),
      wmPid_(XInternAtom(display, "_NET_WM_PID", False)),
      mainWindow_(std::move(mainWindow)),
      knownOwn_(std::move(knownOwn))
{}

WindowId X11WindowStacking::mainWindow() { return mainWindow_ ? mainWindow_() : 0; }

WindowId X11WindowStacking::foregroundWindow() { return cardinalProperty(display_, root_, activeWindow_, XA_WINDOW); }

bool X11WindowStacking::isOwnWindow(WindowId window)
{
    if (window == 0)
        return false;
    if (knownOwn_ && knownOwn_(window))
        return true;
    const unsigned long pid = cardinalProperty(display_, static_cast<Window>(window), wmPid_, XA_CARDINAL);
    return pid != 0 && pid == static_cast<unsigned long>(getpid());
}

void X11WindowStacking::setTopmost(WindowId window, bool topmost)
{
    // A message to the root window names the window only in its data: a
    // window that has gone meanwhile is the window manager's to ignore.
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = static_cast<Window>(window);
    event.xclient.message_type = wmState_;
    event.xclient.format = 32;
    event.xclient.data.l[0] = topmost ? 1 : 0; // _NET_WM_STATE_ADD, _NET_WM_STATE_REMOVE
    event.xclient.data.l[1] = static_cast<long>(wmStateAbove_);
    event.xclient.data.l[2] = 0;
    event.xclient.data.l[3] = 1; // from a normal application
    XSendEvent(display_, root_, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display_);
}

} // namespace zb
