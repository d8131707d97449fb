#include <QTimer>

// Xlib comes after Qt.
#include "X11WindowStacking.h"

#include "X11ErrorTrap.h"
#include "X11EventWatch.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <array>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zb {

namespace {

// The 32-bit items of a window's property (at most `most`), none when it has
// none or the window has gone.
std::vector<unsigned long> cardinals(Display* display, Window window, Atom property, Atom type, long most)
{
    const X11ErrorTrap trap;
    Atom actualType = None;
    int actualFormat = 0;
    unsigned long items = 0, bytesAfter = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, most, False, type, &actualType, &actualFormat,
                                          &items, &bytesAfter, &data);
    std::vector<unsigned long> values;
    if (status == Success && !trap.failed() && data != nullptr && actualType == type && actualFormat == 32) {
        const auto* longs = reinterpret_cast<const unsigned long*>(data); // Xlib hands 32-bit items as longs
        values.assign(longs, longs + items);
    }
    if (data != nullptr)
        XFree(data);
    return values;
}

// As often as the topmost layer is looked after where nothing tells of changes.
constexpr int kPollMs = 1000;

unsigned long cardinal(Display* display, Window window, Atom property, Atom type)
{
    const std::vector<unsigned long> values = cardinals(display, window, property, type, 1);
    return values.size() == 1 ? values.front() : 0;
}

bool contains(const std::vector<unsigned long>& values, Atom atom)
{
    return std::find(values.begin(), values.end(), static_cast<unsigned long>(atom)) != values.end();
}

} // namespace

X11WindowStacking::X11WindowStacking(Display* display, std::shared_ptr<X11EventWatch> events,
                                     std::function<WindowId()> mainWindow, std::function<bool(WindowId)> knownOwn)
    : display_(display),
      events_(std::move(events)),
      root_(DefaultRootWindow(display)),
      mainWindow_(std::move(mainWindow)),
      knownOwn_(std::move(knownOwn))
{
    QTimer::singleShot(0, &context_, [this] { begin(); });
}

void X11WindowStacking::begin()
{
    if (begun_)
        return;
    begun_ = true;
    // One round trip for all the names.
    std::array<const char*, 7> names{
        "_NET_SUPPORTED", "_NET_ACTIVE_WINDOW",  "_NET_CLIENT_LIST", "_NET_CLIENT_LIST_STACKING",
        "_NET_WM_STATE",  "_NET_WM_STATE_ABOVE", "_NET_WM_PID"};
    std::array<Atom, 7> atoms{};
    XInternAtoms(display_, const_cast<char**>(names.data()), int(names.size()), False, atoms.data());
    std::tie(supported_, activeWindow_, clientList_, clientListStacking_, wmState_, wmStateAbove_, wmPid_) =
        std::tuple_cat(atoms);
    const std::vector<unsigned long> supported = cardinals(display_, root_, supported_, XA_ATOM, 1024);
    if (supported.empty())
        problem_ = QStringLiteral("no window manager that follows the desktop standard (EWMH) runs on this display");
    else if (!contains(supported, wmStateAbove_) || !contains(supported, activeWindow_))
        problem_ = QStringLiteral("the window manager keeps no windows above the others (_NET_WM_STATE_ABOVE)");
    // A watch asked for meanwhile starts now.
    if (onChange_)
        poll_ = beginNotedWatch(watchEvents(), kPollMs, onChange_);
}

QString X11WindowStacking::topmostProblem() { return problem_; }

WindowId X11WindowStacking::mainWindow()
{
    const WindowId main = mainWindow_ ? mainWindow_() : 0;
    if (watching_)
        follow(static_cast<Window>(main), followedMain_);
    return main;
}

WindowId X11WindowStacking::foregroundWindow()
{
    begin();
    const WindowId foreground = cardinal(display_, root_, activeWindow_, XA_WINDOW);
    if (watching_)
        followForeground(static_cast<Window>(foreground));
    return foreground;
}

bool X11WindowStacking::isOwnWindow(WindowId window)
{
    if (window == 0)
        return false;
    if (knownOwn_ && knownOwn_(window))
        return true;
    begin();
    const unsigned long pid = cardinal(display_, static_cast<Window>(window), wmPid_, XA_CARDINAL);
    return pid != 0 && pid == static_cast<unsigned long>(getpid());
}

QByteArray X11WindowStacking::classOf(Window window)
{
    const X11ErrorTrap trap;
    XClassHint hint{};
    QByteArray name;
    if (XGetClassHint(display_, window, &hint) != 0 && !trap.failed() && hint.res_class != nullptr)
        name = hint.res_class;
    if (hint.res_name != nullptr)
        XFree(hint.res_name);
    if (hint.res_class != nullptr)
        XFree(hint.res_class);
    return name;
}

bool X11WindowStacking::isAnotherCopy(WindowId window)
{
    const WindowId main = mainWindow();
    if (window == 0 || main == 0 || isOwnWindow(window))
        return false;
    const QByteArray ours = classOf(static_cast<Window>(main));
    return !ours.isEmpty() && classOf(static_cast<Window>(window)) == ours;
}

bool X11WindowStacking::isTopmost(WindowId window)
{
    begin();
    return window != 0 &&
           contains(cardinals(display_, static_cast<Window>(window), wmState_, XA_ATOM, 64), wmStateAbove_);
}

void X11WindowStacking::setTopmost(WindowId window, bool topmost)
{
    begin();
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

void X11WindowStacking::follow(Window window, Window& followed)
{
    if (window == followed)
        return;
    const Window before = followed;
    followed = window;
    Display* d = events_->display();
    if (before != 0)
        XSelectInput(d, before, maskFor(before));
    if (window != 0)
        XSelectInput(d, window, maskFor(window));
    events_->sync(); // a window gone meanwhile is no error of ours
}

long X11WindowStacking::maskFor(Window window) const
{
    // Without a window manager's frame the main window is its own frame.
    return (window == followedMain_ ? PropertyChangeMask : NoEventMask) |
           (window == followedFrame_ ? StructureNotifyMask : NoEventMask);
}

Window X11WindowStacking::frameOf(Window window)
{
    const X11ErrorTrap trap;
    Display* d = events_->display();
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        const Status status = XQueryTree(d, window, &root, &parent, &children, &count);
        if (children != nullptr)
            XFree(children);
        if (status == 0 || trap.failed())
            return 0;
        if (parent == root_ || parent == 0)
            return window;
        window = parent;
    }
}

void X11WindowStacking::followForeground(Window window)
{
    if (window == foreground_)
        return;
    foreground_ = window;
    const Window frame = window == 0 ? 0 : frameOf(window);
    if (frame != followedFrame_)
        frameBelow_.reset();
    follow(frame, followedFrame_);
}

bool X11WindowStacking::watch(std::function<void()> onChange)
{
    onChange_ = std::move(onChange);
    // Before begin() the watch is only noted: begin() tells the listener, and
    // asks over and over for it where the server's events cannot be followed.
    return !begun_ || poll_ || watchEvents();
}

bool X11WindowStacking::watchEvents()
{
    if (watching_)
        return true;
    if (!events_ || events_->display() == nullptr)
        return false;
    XSelectInput(events_->display(), root_, PropertyChangeMask);
    handler_ = events_->addHandler([this](const XEvent& event) {
        if (onChange_ && (restacked(event) || stackingChanged(event)))
            onChange_();
    });
    watching_ = true;
    return events_->sync();
}

bool X11WindowStacking::stackingChanged(const XEvent& event) const
{
    if (event.type != PropertyNotify)
        return false;
    const XPropertyEvent& p = event.xproperty;
    const bool stacking =
        p.window == root_ && (p.atom == activeWindow_ || p.atom == clientList_ || p.atom == clientListStacking_);
    const bool state = p.atom == wmState_ && p.window != root_ && p.window == followedMain_;
    return stacking || state;
}

bool X11WindowStacking::restacked(const XEvent& event)
{
    if (followedFrame_ == 0)
        return false;
    if (event.type == DestroyNotify && event.xdestroywindow.window == followedFrame_) {
        // A window manager that starts anew frames the window again: its
        // next frame is looked up at the next look.
        foreground_ = followedFrame_ = 0;
        return false;
    }
    if (event.type == CirculateNotify)
        return event.xcirculate.window == followedFrame_;
    if (event.type != ConfigureNotify || event.xconfigure.window != followedFrame_)
        return false;
    // Moved or resized, a frame keeps its sibling below: only a new sibling
    // is a restack worth a look.
    const bool restack = frameBelow_ != event.xconfigure.above;
    frameBelow_ = event.xconfigure.above;
    return restack;
}

X11WindowStacking::~X11WindowStacking()
{
    if (handler_ != 0)
        events_->removeHandler(handler_);
}

} // namespace zb
