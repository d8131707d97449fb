#pragma once

#include "platform/WindowStacking.h"

#include <QByteArray>
#include <functional>
#include <memory>

#include <X11/Xlib.h>

namespace zb {

class X11EventWatch;

// Window stacking through the window manager (EWMH): the foreground window
// is the root window's _NET_ACTIVE_WINDOW; the topmost layer is
// _NET_WM_STATE_ABOVE, read from each window and added and removed by client
// messages to the root window. Changes are followed through property events
// on the root window (the active window, the windows and their stacking) and
// on the main window, never on another program's window: its every title
// change would wake this program. A window lifted into the topmost layer
// changes the stacking. Another copy of this program is a window of the main
// window's class (WM_CLASS).
class X11WindowStacking : public WindowStacking {
public:
    // knownOwn answers for the windows this program knows it made; a window
    // it does not know is still ours when its _NET_WM_PID is this process.
    // Events, when given, are read from the watch's own connection.
    X11WindowStacking(Display* display, std::shared_ptr<X11EventWatch> events, std::function<WindowId()> mainWindow,
                      std::function<bool(WindowId)> knownOwn);

    ~X11WindowStacking() override;
    X11WindowStacking(const X11WindowStacking&) = delete;
    X11WindowStacking& operator=(const X11WindowStacking&) = delete;

    QString topmostProblem() override;
    WindowId mainWindow() override;
    WindowId foregroundWindow() override;
    bool isOwnWindow(WindowId window) override;
    bool isAnotherCopy(WindowId window) override;
    bool isTopmost(WindowId window) override;
    void setTopmost(WindowId window, bool topmost) override;
    bool watch(std::function<void()> onChange) override;

private:
    void follow(Window window, Window& followed);
    QByteArray classOf(Window window);

    Display* display_;
    std::shared_ptr<X11EventWatch> events_;
    Window root_;
    Atom supported_;
    Atom activeWindow_;
    Atom clientList_;
    Atom clientListStacking_;
    Atom wmState_;
    Atom wmStateAbove_;
    Atom wmPid_;
    std::function<WindowId()> mainWindow_;
    std::function<bool(WindowId)> knownOwn_;
    bool watching_ = false;
    std::function<void()> onChange_;
    int handler_ = 0;
    Window followedMain_ = 0;
};

} // namespace zb
