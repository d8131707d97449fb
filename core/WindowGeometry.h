#pragma once

namespace zb {

// A window's place and size in twips (1/1440 inch).
struct WindowGeometry {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    bool operator==(const WindowGeometry&) const = default;
};

} // namespace zb
