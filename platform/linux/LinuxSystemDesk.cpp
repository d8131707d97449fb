#include "platform/SystemDesk.h"
#include "platform/WindowFrames.h"

#include "DBusScreenSaverInhibitor.h"
#include "platform/null/NullDesk.h"

#include <QGuiApplication>
#include <QWindow>

// Xlib's macros (None, Bool, Status) would break Qt's headers: they come last.
#include "X11EventWatch.h"
#include "X11Keyboard.h"
#include "X11WindowFrames.h"
#include "X11WindowStacking.h"

namespace zb {

namespace {

// The X server of Qt's own connection, or none when Qt runs on another
// platform (Wayland, offscreen).
Display* qtDisplay()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr)
        return nullptr;
    const auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->display() : nullptr;
}

// A top-level window this program has made and that has a native window.
bool isQtWindow(WindowId id)
{
    for (const QWindow* w : QGuiApplication::allWindows())
        if (w->handle() != nullptr && static_cast<WindowId>(w->winId()) == id)
            return true;
    return false;
}

// Why there is no X server to ask, in words for the user.
QString noX11Reason()
{
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return QStringLiteral("Wayland gives programs no way to do this");
    return QStringLiteral("there is no X server in this session");
}

} // namespace

SystemDesk createSystemDesk(std::function<WindowId()> mainWindow)
{
    SystemDesk desk;
    if (Display* display = qtDisplay()) {
        auto events = std::make_shared<X11EventWatch>(DisplayString(display));
        desk.keyboard = std::make_unique<X11Keyboard>(display, events);
        desk.stacking = std::make_unique<X11WindowStacking>(display, events, std::move(mainWindow), isQtWindow);
    } else {
        desk.keyboard = std::make_unique<NullKeyboard>(noX11Reason());
        desk.stacking = std::make_unique<NullWindowStacking>(noX11Reason());
    }
    desk.screenSaver = std::make_unique<DBusScreenSaverInhibitor>(QCoreApplication::applicationName());
    return desk;
}

namespace {
class UnknownFrames : public WindowFrames {
public:
    std::optional<Place> where(WindowId) override { return std::nullopt; }
    bool tellTruePlace(WindowId) override { return false; }
    void watch(WindowId, std::function<void()>) override {}
    void unwatch(WindowId) override {}
};
} // namespace

WindowFrames& systemWindowFrames()
{
    static const std::unique_ptr<WindowFrames> frames = []() -> std::unique_ptr<WindowFrames> {
        if (Display* display = qtDisplay())
            return std::make_unique<X11WindowFrames>(display);
        return std::make_unique<UnknownFrames>();
    }();
    return *frames;
}

} // namespace zb
