#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace zb {

// A top-level window of the desktop, by the window system's own id; 0 is none.
using WindowId = std::uint64_t;

// The desktop's stacking of top-level windows: which one has the foreground,
// and the topmost layer, for this program's windows and for others.
class WindowStacking {
public:
    virtual ~WindowStacking() = default;
    // Why windows cannot be kept in the topmost layer in this session (the
    // window manager has no such layer, or there is none to ask); empty when
    // they can.
    virtual QString topmostProblem() = 0;
    // This program's main window; 0 while it has no native window.
    virtual WindowId mainWindow() = 0;
    // The window that has the foreground (the active window), or 0.
    virtual WindowId foregroundWindow() = 0;
    // Whether the window belongs to this program (its main window, an editor,
    // a dialog).
    virtual bool isOwnWindow(WindowId window) = 0;
    // Whether the window belongs to another running copy of this program.
    virtual bool isAnotherCopy(WindowId window) = 0;
    virtual bool isTopmost(WindowId window) = 0;
    // Puts the window into the topmost layer or takes it out of it. A window
    // that no longer exists is ignored.
    virtual void setTopmost(WindowId window, bool topmost) = 0;
    // Has onChange called whenever the foreground window changes, a window
    // comes or goes, the stacking changes, or the topmost state of the main
    // window changes; false when this stacking cannot tell. A later call replaces the
    // listener; an empty one stops the calls.
    virtual bool watch(std::function<void()> onChange) = 0;
};

} // namespace zb
