#pragma once

#include "core/WindowGeometry.h"

#include <QPoint>
#include <QRect>
#include <optional>

class QWidget;

namespace zb {

// Places a window as stored and tells what to store when it closes. Stored
// values are twips (1440 per inch).
//
// A window manager that decorates windows may put either the frame or the
// client area where it was asked to. The placement learns which once the
// window is framed, and stores the position that, restored, brings the
// window back to where it is: no creep by a title bar from start to start.
// Every window is fitted wholly inside a screen's available area.
class WindowPlacement {
public:
    WindowPlacement() = default;
    WindowPlacement(const WindowPlacement&) = delete;
    WindowPlacement& operator=(const WindowPlacement&) = delete;
    ~WindowPlacement();

    // Twips to pixels, limited to what a screen can hold; any value that is
    // not a number gives `fallback`.
    static int toPixels(double twips, int dpi, int fallback = 0);
    static double toTwips(int pixels, int dpi);
    // The frame rectangle moved and shrunk to lie wholly inside `area`.
    static QRect fitInto(const QRect& frame, const QRect& area);

    // Moves and sizes `window` as stored, fitted into the available area of
    // its screen. A position off every screen falls back to `fallback`'s.
    void apply(QWidget* window, const WindowGeometry& stored, const WindowGeometry& fallback);
    // The position to store, in twips: `left` and `top` are left exactly as
    // they are while the window stays where apply() put it (and before the
    // window manager has finished placing it).
    void position(double& left, double& top);

private:
    class SettleWatch;
    friend class SettleWatch;
    // Called once the window manager has framed and placed the window; true
    // the first time, when it settles.
    bool settle();
    // Once the window manager is done with a placement (the first, a restore,
    // the user's move, its own): tells the window where it really is if the
    // window manager told it wrong, so that its own idea (pos(), mapToGlobal)
    // and the X server's agree.
    void agreeWithWindowSystem();

    QWidget* window_ = nullptr;
    SettleWatch* watch_ = nullptr;
    QPoint applied_;               // the position given to the window
    QPoint offset_;                // where it landed, relative to applied_
    std::optional<QPoint> placed_; // where it was once settled and fitted
    bool fitted_ = false;          // settling had to move it into a screen
    int corrections_ = 0;          // in a row, without the window agreeing
    static constexpr int kMaxCorrections = 3;
};

} // namespace zb
