#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace zb {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr int kMinimumVisible = 40; // pixels of the title bar that must be on a screen

int dpiOf(const QWidget* w) { return w->logicalDpiX() > 0 ? w->logicalDpiX() : 96; }

bool onSomeScreen(const QPoint& topLeft, int width)
{
    const QRect grip(topLeft, QSize(std::max(kMinimumVisible, std::min(width, 200)), kMinimumVisible));
    for (const QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().intersected(grip).width() >= kMinimumVisible / 2)
            return true;
    return false;
}
} // namespace

int WindowPlacement::toPixels(double twips, int dpi)
{
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

double WindowPlacement::toTwips(int pixels, int dpi) { return std::round(pixels * kTwipsPerInch / dpi); }

QPoint WindowPlacement::apply(QWidget* window, const WindowGeometry& stored, const WindowGeometry& fallback)
{
    const int dpi = dpiOf(window);
    int width = toPixels(stored.width, dpi);
    int height = toPixels(stored.height, dpi);
    if (width < 100 || height < 60) {
        width = toPixels(fallback.width, dpi);
        height = toPixels(fallback.height, dpi);
    }
    QPoint at(toPixels(stored.left, dpi), toPixels(stored.top, dpi));
    if (!onSomeScreen(at, width))
        at = QPoint(toPixels(fallback.left, dpi), toPixels(fallback.top, dpi));
    window->resize(width, height);
    window->move(at);
    return at;
}

void WindowPlacement::position(const QWidget* window, const QPoint& applied, double& left, double& top)
{
    if (window->pos() == applied)
        return;
    const int dpi = dpiOf(window);
    left = toTwips(window->x(), dpi);
    top = toTwips(window->y(), dpi);
}

} // namespace zb
