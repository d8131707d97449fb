#pragma once

#include <QByteArray>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// Xlib's macros (None, Bool, Status) would break Qt's headers: they come last.
#include <X11/Xlib.h>

class QSocketNotifier;
class QTimer;

namespace zb {

// A connection of its own to the X server, whose events are read as they
// arrive on its socket: the desk learns of lock and window changes without
// asking over and over, and sleeps while nothing changes. It connects when
// first used, so that a start never waits for it before its window shows.
class X11EventWatch {
public:
    using Handler = std::function<void(const XEvent&)>;

    // The X server named is connected to at the first display().
    explicit X11EventWatch(const char* displayName);
    ~X11EventWatch();
    X11EventWatch(const X11EventWatch&) = delete;
    X11EventWatch& operator=(const X11EventWatch&) = delete;

    // Null when the connection failed.
    Display* display();
    // Every event read is handed to every handler, until it is removed.
    int addHandler(Handler handler);
    void removeHandler(int id);
    // Sends the requests made on display() and waits until the server has
    // seen them; true when none failed (a window that has gone meanwhile).
    bool sync();

private:
    void readEvents();

    QByteArray displayName_;
    bool connected_ = false;
    Display* display_ = nullptr;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<std::pair<int, Handler>> handlers_;
    int nextId_ = 1;
    bool reading_ = false;
};

// Starts a watch that was asked for before the server was first looked at:
// followed by its events where `watching`, else by a timer, returned started,
// that calls `onChange` every `ms`. Either way `onChange` is told once now,
// for what changed meanwhile. `onChange` is read afresh at every tick.
std::unique_ptr<QTimer> beginNotedWatch(bool watching, int ms, const std::function<void()>& onChange);

} // namespace zb
