#include <QCoreApplication>

// Xlib and xcb come after Qt.
#include "X11ErrorTrap.h"
#include "X11WindowFrames.h"

#include <xcb/xcb.h>

#include <X11/Xatom.h>

namespace zb {

X11WindowFrames::X11WindowFrames(Display* display)
    : display_(display),
      frameExtents_(XInternAtom(display, "_NET_FRAME_EXTENTS", False))
{
    if (auto* app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

X11WindowFrames::~X11WindowFrames()
{
    if (auto* app = QCoreApplication::instance())
        app->removeNativeEventFilter(this);
}

void X11WindowFrames::watch(WindowId window, std::function<void()> reframed) { watches_[window] = std::move(reframed); }

void X11WindowFrames::unwatch(WindowId window) { watches_.erase(window); }

bool X11WindowFrames::nativeEventFilter(const QByteArray& type, void* message, qintptr*)
{
    if (watches_.empty() || type != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* change = reinterpret_cast<const xcb_property_notify_event_t*>(event);
    if (change->atom != frameExtents_)
        return false;
    if (const auto found = watches_.find(change->window); found != watches_.end()) {
        const auto reframed = found->second; // it may unwatch
        reframed();
    }
    return false; // Qt reads it too: its own frame margins are out of date
}

std::optional<WindowFrames::Place> X11WindowFrames::where(WindowId id)
{
    if (id == 0)
        return std::nullopt;
    const auto window = static_cast<Window>(id);
    const X11ErrorTrap trap;
    int x = 0, y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &x, &y, &child) || trap.failed())
        return std::nullopt;
    Place place{QPoint(x, y), QMargins()};
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, window, frameExtents_, 0, 4, False, XA_CARDINAL, &type, &format, &items, &after,
                           &data) == Success &&
        !trap.failed() && data != nullptr && type == XA_CARDINAL && format == 32 && items == 4) {
        const auto* e = reinterpret_cast<const unsigned long*>(data); // left, right, top, bottom
        place.frame =
            QMargins(static_cast<int>(e[0]), static_cast<int>(e[2]), static_cast<int>(e[1]), static_cast<int>(e[3]));
    }
    if (data != nullptr)
        XFree(data);
    return place;
}

bool X11WindowFrames::tellTruePlace(WindowId id)
{
    const std::optional<Place> place = where(id);
    if (!place)
        return false;
    const auto window = static_cast<Window>(id);
    const X11ErrorTrap trap;
    Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (!XGetGeometry(display_, window, &root, &x, &y, &width, &height, &border, &depth) || trap.failed())
        return false;
    XEvent event{};
    XConfigureEvent& e = event.xconfigure;
    e.type = ConfigureNotify;
    e.display = display_;
    e.event = window;
    e.window = window;
    e.x = place->client.x(); // synthetic: relative to the root, not the frame
    e.y = place->client.y();
    e.width = static_cast<int>(width);
    e.height = static_cast<int>(height);
    e.border_width = static_cast<int>(border);
    e.above = None;
    e.override_redirect = False;
    XSendEvent(display_, window, False, StructureNotifyMask, &event);
    XSync(display_, False); // so that a window gone meanwhile is trapped here

    return !trap.failed();
}

} // namespace zb
