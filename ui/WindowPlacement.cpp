#include "WindowPlacement.h"

#include "platform/WindowFrames.h"

#include <QApplication>
#include <QEvent>
#include <QMoveEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cmath>

namespace zb {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr int kMinimumVisible = 40;   // pixels of the title bar that must be on a screen
constexpr double kLargestPixel = 1e6; // far beyond any screen, far inside int
constexpr int kSettleMs = 150;        // the window manager's placing is over by then

// What this program's window manager does, learned from the first framed
// window and used to fit the next ones before they are shown.
struct Learned {
    QPoint offset;  // where a window lands, relative to the position asked for
    QMargins frame; // the frame around the client area
};
Learned learned;

int dpiOf(const QWidget* w) { return w->logicalDpiX() > 0 ? w->logicalDpiX() : 96; }

// Where the window is, asked of the window system itself: the position a
// window manager reports to the window after a move may be wrong (icewm's for
// a modal dialog is off by its title bar).
// In Qt's scaled pixels: each screen keeps its top left and scales from
// there, as Qt maps the window system's pixels.
std::optional<WindowFrames::Place> placeOf(const QWidget* w)
{
    if (w->windowHandle() == nullptr || !w->testAttribute(Qt::WA_WState_Created))
        return std::nullopt;
    auto place = systemWindowFrames().where(static_cast<WindowId>(w->winId()));
    if (!place)
        return place;
    const QScreen* screen = w->windowHandle()->screen();
    for (const QScreen* s : QGuiApplication::screens())
        if (QRect(s->geometry().topLeft(), s->geometry().size() * s->devicePixelRatio()).contains(place->client))
            screen = s;
    if (screen == nullptr || screen->devicePixelRatio() == 1.0)
        return place;
    const qreal scale = screen->devicePixelRatio();
    const QPoint origin = screen->geometry().topLeft();
    return WindowFrames::Place{origin + (place->client - origin) / scale, place->frame / scale};
}

// The frame as the window system knows it now; QWidget's own copy is only
// brought up to date by a move or resize.
QMargins marginsOf(const QWidget* w)
{
    if (const auto place = placeOf(w))
        return place->frame;
    return w->windowHandle() != nullptr ? w->windowHandle()->frameMargins() : QMargins();
}

QPoint framePosition(const QWidget* w)
{
    if (const auto place = placeOf(w))
        return place->frameTopLeft();
    return w->windowHandle() != nullptr ? w->windowHandle()->framePosition() : w->pos();
}

bool framed(const QWidget* w) { return w->isVisible() && !marginsOf(w).isNull(); }

const QScreen* screenHolding(const QPoint& topLeft, int width)
{
    const QRect grip(topLeft, QSize(std::max(kMinimumVisible, std::min(width, 200)), kMinimumVisible));
    for (const QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().intersected(grip).width() >= kMinimumVisible / 2)
            return s;
    return nullptr;
}

// Moves and sizes the window so that its frame, landing at `at + offset`,
// lies wholly inside the available area of its screen. Before the window is
// framed `at` is what move() takes; after, the frame's own position.
void fitOnScreen(QWidget* window, const QPoint& at, const QPoint& offset, const QMargins& margins)
{
    const QScreen* screen = screenHolding(at + offset, window->width());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect frame(at + offset, window->size().grownBy(margins));
    const QRect fitted = WindowPlacement::fitInto(frame, screen->availableGeometry());
    const QSize client = fitted.size().shrunkBy(margins);
    if (client != window->size())
        window->resize(client);
    const QPoint target = fitted.topLeft() - offset;
    if (framed(window)) {
        if (target != framePosition(window))
            window->windowHandle()->setFramePosition(target);
    } else if (target != window->pos()) {
        window->move(target);
    }
}

} // namespace

// Waits until the window manager has framed the window and stopped moving it.
class WindowPlacement::SettleWatch : public QObject {
public:
    explicit SettleWatch(WindowPlacement& placement) : QObject(placement.window_), placement_(placement)
    {
        quiet_.setSingleShot(true);
        quiet_.setInterval(kSettleMs);
        // Not framed yet: the window manager is still at work.
        connect(&quiet_, &QTimer::timeout, this, [this] {
            if (framed(placement_.window_)) {
                // Settling may move it: agreement is looked for once it has landed.
                if (placement_.settle())
                    quiet_.start();
                else
                    placement_.agreeWithWindowSystem();
            } else if (++waits_ > kMaxWaits) {
                placement_.settle();
            } else {
                quiet_.start();
            }
        });
        placement.window_->installEventFilter(this);
    }
    ~SettleWatch() override
    {
        if (watched_ != 0)
            systemWindowFrames().unwatch(watched_);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const auto type = event->type();
        if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show)
            quiet_.start();
        if (type == QEvent::Show)
            watchFrame();
        return false;
    }

private:
    // A frame announced late, or by a window manager taking over, brings no
    // move: look again once it is.
    void watchFrame()
    {
        const auto id = static_cast<WindowId>(placement_.window_->winId());
        if (id == watched_)
            return;
        if (watched_ != 0)
            systemWindowFrames().unwatch(watched_);
        watched_ = id;
        systemWindowFrames().watch(id, [this] { quiet_.start(); });
    }

    static constexpr int kMaxWaits = 20;
    WindowPlacement& placement_;
    QTimer quiet_;
    int waits_ = 0;
    WindowId watched_ = 0;
};

WindowPlacement::~WindowPlacement()
{
    // The watch is the window's child; it must not outlive this placement.
    delete watch_;
}

int WindowPlacement::toPixels(double twips, int dpi, int fallback)
{
    const double pixels = twips * dpi / kTwipsPerInch;
    if (!std::isfinite(pixels))
        return fallback;
    return static_cast<int>(std::lround(std::clamp(pixels, -kLargestPixel, kLargestPixel)));
}

double WindowPlacement::toTwips(int pixels, int dpi) { return std::round(pixels * kTwipsPerInch / dpi); }

QRect WindowPlacement::fitInto(const QRect& frame, const QRect& area)
{
    const QSize size = frame.size().boundedTo(area.size());
    const int x = std::clamp(frame.x(), area.left(), area.left() + area.width() - size.width());
    const int y = std::clamp(frame.y(), area.top(), area.top() + area.height() - size.height());
    return {QPoint(x, y), size};
}

void WindowPlacement::apply(QWidget* window, const WindowGeometry& stored, const WindowGeometry& fallback)
{
    window_ = window;
    const int dpi = dpiOf(window);
    const int fallbackWidth = toPixels(fallback.width, dpi);
    const int fallbackHeight = toPixels(fallback.height, dpi);
    int width = toPixels(stored.width, dpi, fallbackWidth);
    int height = toPixels(stored.height, dpi, fallbackHeight);
    if (width < 100 || height < 60) {
        width = fallbackWidth;
        height = fallbackHeight;
    }
    const QPoint fallbackAt(toPixels(fallback.left, dpi), toPixels(fallback.top, dpi));
    QPoint at(toPixels(stored.left, dpi, fallbackAt.x()), toPixels(stored.top, dpi, fallbackAt.y()));
    if (screenHolding(at, width) == nullptr)
        at = fallbackAt;
    window->resize(width, height);
    window->move(at);
    fitOnScreen(window, at, learned.offset, learned.frame);
    applied_ = window->pos();
    placed_.reset();
    offset_ = QPoint();
    fitted_ = false;
    if (watch_ == nullptr)
        watch_ = new SettleWatch(*this);
}

bool WindowPlacement::settle()
{
    if (placed_ || window_ == nullptr || !framed(window_))
        return false;
    offset_ = framePosition(window_) - applied_;
    learned = {offset_, marginsOf(window_)};
    // Only now is the frame known: fit once more with it.
    const QPoint before = framePosition(window_);
    const QSize sizeBefore = window_->size();
    fitOnScreen(window_, before, QPoint(), learned.frame);
    fitted_ = framePosition(window_) != before || window_->size() != sizeBefore;
    placed_ = framePosition(window_);
    return true;
}

void WindowPlacement::agreeWithWindowSystem()
{
    // Telling the window causes a move of its own: look again after it, but
    // never chase a window manager that keeps saying otherwise.
    QWindow* handle = window_ != nullptr ? window_->windowHandle() : nullptr;
    const auto place = handle != nullptr && window_->isVisible() ? placeOf(window_) : std::nullopt;
    if (!place || corrections_ >= kMaxCorrections) {
        corrections_ = 0;
        return;
    }
    if (window_->geometry().topLeft() != place->client) {
        if (systemWindowFrames().tellTruePlace(static_cast<WindowId>(window_->winId())))
            ++corrections_;
        return;
    }
    // Qt takes the frame's margins into the widget's position only as the
    // window moves or resizes: a frame the window manager announces after
    // its last move leaves pos() and frameGeometry() on the client area.
    if (window_->frameGeometry().topLeft() != place->frameTopLeft()) {
        ++corrections_;
        QMoveEvent refresh(handle->position(), handle->position());
        QCoreApplication::sendEvent(handle, &refresh);
        return;
    }
    corrections_ = 0;
}

void WindowPlacement::position(double& left, double& top)
{
    // Until the window manager is done with it, the window is where it was put.
    if (window_ == nullptr || !placed_)
        return;
    const QPoint now = framePosition(window_);
    if (!fitted_ && now == *placed_)
        return;
    // The position that, given to apply(), lands the window here.
    const QPoint restore = now - offset_;
    const int dpi = dpiOf(window_);
    left = toTwips(restore.x(), dpi);
    top = toTwips(restore.y(), dpi);
}

} // namespace zb
