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

    // Moves and sizes `window` as stored. A position that would put the
    // window off every screen falls back to `fallback`'s position.
    static void apply(QWidget* window, const WindowGeometry& stored, const WindowGeometry& fallback);
    // The window's current position in twips.
    static void position(const QWidget* window, double& left, double& top);
};

} // namespace zb
