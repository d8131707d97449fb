#pragma once

#include "platform/WindowStacking.h"

#include <QByteArray>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include <X11/Xlib.h>

class QTimer;

namespace zb {

class X11EventWatch;

// Window stacking through the window manager (EWMH): the foreground window
// is the root window's _NET_ACTIVE_WINDOW; the topmost layer is
// _NET_WM_STATE_ABOVE, read from each window and added and removed by client
// messages to the root window. Changes are followed through property events
// on the root window (the active window, the windows and their stacking) and
// on the main window, never on another program's window: its every title
// change would wake this program. Of the foreground window only its frame's
// restacking is followed: put in the topmost layer while it has the
// foreground, it may change neither the active window nor the stacking list
// (icewm), only its frame's place. Another copy of this program is a window
// of the main window's class (WM_CLASS).
//
// Nothing is asked of the server until begin(), at the first turn of the
// event loop, so that a start does not wait for it before its window shows:
// until then no problem is told and a watch is only noted, whose listener
// begin() then tells. Whether the window manager has a topmost layer is read
// there, once. Any other question begins at once.
class X11WindowStacking : public WindowStacking {
public:
    // knownOwn answers for the windows this program knows it made; a window
    // it does not know is still ours when its _NET_WM_PID is this process.
    // Events, when given, are read from the watch's own connection.
    X11WindowStacking(Display* display, std::shared_ptr<X11EventWatch> events, std::function<WindowId()> mainWindow,
                      std::function<bool(WindowId)> knownOwn);

    // Looks at the window manager, once; later calls do nothing.
    void begin();

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
    bool watchEvents();
    bool stackingChanged(const XEvent& event) const;
    bool restacked(const XEvent& event);
    long maskFor(Window window) const;
    Window frameOf(Window window);
    void followForeground(Window window);
    QByteArray classOf(Window window);

    Display* display_;
    std::shared_ptr<X11EventWatch> events_;
    Window root_;
    Atom supported_ = 0;
    Atom activeWindow_ = 0;
    Atom clientList_ = 0;
    Atom clientListStacking_ = 0;
    Atom wmState_ = 0;
    Atom wmStateAbove_ = 0;
    Atom wmPid_ = 0;
    bool begun_ = false;
    QString problem_;
    std::unique_ptr<QTimer> poll_; // where the server's events cannot be followed
    QObject context_;              // the deferred begin goes with this
    std::function<WindowId()> mainWindow_;
    std::function<bool(WindowId)> knownOwn_;
    bool watching_ = false;
    std::function<void()> onChange_;
    int handler_ = 0;
    Window followedMain_ = 0;
    Window foreground_ = 0;            // as last looked at
    Window followedFrame_ = 0;         // of the foreground window
    std::optional<Window> frameBelow_; // its sibling below, as last told
};

} // namespace zb
