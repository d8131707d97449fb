#pragma once

#include "core/WindowGeometry.h"

#include <QRect>

class QWidget;

namespace zb {

// Converts stored twips (1440 per inch) to the screen's logical pixels and
// back, and keeps a window on some screen.
class WindowPlacement {
public:
    static int toPixels(double twips, int dpi);
    static double toTwips(int pixels, int dpi);

    // Moves and sizes `window` as stored and returns the pixel position it
    // was given. A position that would put the window off every screen falls
    // back to `fallback`'s position.
    static QPoint apply(QWidget* window, const WindowGeometry& stored, const WindowGeometry& fallback);
    // The window's position in twips, for storing. A window that was not
    // moved since apply() keeps `stored` exactly, so that rounding to pixels
    // never makes a window creep from one start to the next.
    static void position(const QWidget* window, const QPoint& applied, double& left, double& top);
};

} // namespace zb
