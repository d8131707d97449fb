#include <QSocketNotifier>
#include <QTimer>

// Xlib comes after Qt.
#include "X11ErrorTrap.h"
#include "X11EventWatch.h"

namespace zb {

X11EventWatch::X11EventWatch(const char* displayName) : displayName_(displayName) {}

Display* X11EventWatch::display()
{
    if (connected_)
        return display_;
    connected_ = true;
    display_ = XOpenDisplay(displayName_.constData());
    if (display_ != nullptr) {
        notifier_ = std::make_unique<QSocketNotifier>(ConnectionNumber(display_), QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readEvents(); });
    }
    return display_;
}

X11EventWatch::~X11EventWatch()
{
    notifier_.reset();
    if (display_ != nullptr)
        XCloseDisplay(display_);
}

int X11EventWatch::addHandler(Handler handler)
{
    handlers_.emplace_back(nextId_, std::move(handler));
    return nextId_++;
}

void X11EventWatch::removeHandler(int id)
{
    std::erase_if(handlers_, [id](const auto& h) { return h.first == id; });
}

bool X11EventWatch::sync()
{
    const X11ErrorTrap trap;
    XSync(display_, False);
    // Waiting for the server may have read events off the socket, which then
    // would not wake the notifier: they are read at the next turn of the loop.
    if (!reading_ && XEventsQueued(display_, QueuedAlready) > 0)
        QTimer::singleShot(0, notifier_.get(), [this] { readEvents(); });
    return !trap.failed();
}

void X11EventWatch::readEvents()
{
    reading_ = true;
    // A handler's own requests may queue more events: read until none is left.
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        // A handler may remove handlers: each is looked up afresh.
        for (std::size_t i = 0; i < handlers_.size(); ++i) {
            const Handler handler = handlers_[i].second;
            handler(event);
        }
    }
    reading_ = false;
}

std::unique_ptr<QTimer> beginNotedWatch(bool watching, int ms, const std::function<void()>& onChange)
{
    std::unique_ptr<QTimer> timer;
    if (!watching) {
        timer = std::make_unique<QTimer>();
        timer->callOnTimeout([&onChange] {
            if (onChange)
                onChange();
        });
        timer->start(ms);
    }
    onChange();
    return timer;
}

} // namespace zb
