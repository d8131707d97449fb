#include "X11WindowFrames.h"

#include "X11ErrorTrap.h"

#include <X11/Xatom.h>

namespace zb {

X11WindowFrames::X11WindowFrames(Display* display)
    : display_(display),
      frameExtents_(XInternAtom(display, "_NET_FRAME_EXTENTS", False))
{}

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

} // namespace zb
