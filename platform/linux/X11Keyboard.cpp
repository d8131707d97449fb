#include <QFile>
#include <QTimer>

// Xlib comes after Qt.
#include "X11Keyboard.h"

#include "X11EventWatch.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XInput.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/dpms.h>
#include <X11/keysym.h>

#include <algorithm>
#include <sys/socket.h>

namespace zb {

namespace {

constexpr std::array<const char*, 3> kIndicatorNames{"Num Lock", "Caps Lock", "Scroll Lock"};
constexpr std::array<const char*, 3> kKeyNames{"Num Lock", "Caps Lock", "Scroll Lock"};
constexpr std::array<KeySym, 3> kKeySyms{XK_Num_Lock, XK_Caps_Lock, XK_Scroll_Lock};
// As often as the lights refresh themselves where nothing tells of changes.
constexpr int kPollMs = 100;

LockState stateOf(unsigned int indicators, int bit)
{
    if (bit < 0)
        return LockState::Unknown;
    return (indicators >> bit) & 1U ? LockState::On : LockState::Off;
}

bool hasExtension(Display* display, const char* name)
{
    int opcode = 0, event = 0, error = 0;
    return XQueryExtension(display, name, &opcode, &event, &error) != False;
}

QStringList inputDevices(Display* display)
{
    QStringList names;
    int count = 0;
    if (XDeviceInfo* devices = XListInputDevices(display, &count)) {
        for (int i = 0; i < count; ++i)
            names << QString::fromLocal8Bit(devices[i].name);
        XFreeDeviceList(devices);
    }
    return names;
}

} // namespace

bool X11Keyboard::isXWayland(const ServerSigns& signs)
{
    if (signs.xwaylandExtension)
        return true;
    for (const QString& device : signs.inputDevices)
        if (device.startsWith(QLatin1String("xwayland-")))
            return true;
    if (signs.serverProgram.compare(QLatin1String("Xwayland"), Qt::CaseInsensitive) == 0)
        return true;
    // X servers' programs are named X-something (Xorg, Xvfb, Xephyr, Xvnc),
    // so an X server of its own started inside a Wayland session is not
    // taken for XWayland.
    return signs.waylandSession && !signs.serverProgram.isEmpty() && !signs.serverProgram.startsWith(QLatin1Char('X'));
}

namespace {

// The command name of the process that made the local socket of the
// connection; empty for a remote one or where it cannot be read.
QString serverProgram(Display* display)
{
    ucred peer{};
    socklen_t size = sizeof peer;
    if (getsockopt(ConnectionNumber(display), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.pid <= 0)
        return {};
    QFile comm(QStringLiteral("/proc/%1/comm").arg(peer.pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll().trimmed()) : QString();
}

X11Keyboard::ServerSigns serverSigns(Display* display)
{
    return {hasExtension(display, "XWAYLAND"), inputDevices(display), serverProgram(display),
            !qgetenv("WAYLAND_DISPLAY").isEmpty() || qgetenv("XDG_SESSION_TYPE") == "wayland"};
}

} // namespace

X11Keyboard::X11Keyboard(Display* display, std::shared_ptr<X11EventWatch> events)
    : display_(display),
      events_(std::move(events))
{
    QTimer::singleShot(0, &context_, [this] { begin(); });
}

void X11Keyboard::begin()
{
    if (begun_)
        return;
    begun_ = true;
    int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    xkb_ = XkbQueryExtension(display_, &opcode, &event, &error, &major, &minor);
    int testEvent = 0, testError = 0, testMajor = 0, testMinor = 0;
    xtest_ = XTestQueryExtension(display_, &testEvent, &testError, &testMajor, &testMinor);
    xwayland_ = isXWayland(serverSigns(display_));
    if (xkb_)
        XInternAtoms(display_, const_cast<char**>(kIndicatorNames.data()), int(kIndicatorNames.size()), False,
                     indicatorName_.data());
    XModifierKeymap* modifiers = xtest_ && !xwayland_ ? XGetModifierMapping(display_) : nullptr;
    const auto boundToModifier = [modifiers](KeyCode code) {
        for (int i = 0; modifiers != nullptr && i < 8 * modifiers->max_keypermod; ++i)
            if (modifiers->modifiermap[i] == code)
                return true;
        return false;
    };
    for (std::size_t i = 0; i < kKeySyms.size(); ++i) {
        keycode_[i] = XKeysymToKeycode(display_, kKeySyms[i]);
        bool explicitAllowed = false;
        if (xkb_) {
            // The indicators' places are looked up once; each read is then
            // one round trip for all three locks.
            int bit = -1;
            Bool on = False;
            XkbIndicatorMapRec map{};
            if (XkbGetNamedIndicator(display_, indicatorName_[i], &bit, &on, &map, nullptr) && bit >= 0 && bit < 32) {
                indicator_[i] = bit;
                explicitAllowed = (map.flags & XkbIM_NoExplicit) == 0;
            }
        }
        // Under XWayland a press would reach the X programs only.
        if (xwayland_ || !xtest_)
            way_[i] = Way::Nothing;
        else if (keycode_[i] != 0 && (i != index(LockKey::Scroll) || boundToModifier(keycode_[i])))
            way_[i] = Way::Keys;
        else if (indicator_[i] >= 0 && explicitAllowed)
            way_[i] = Way::Light;
    }
    if (modifiers != nullptr)
        XFreeModifiermap(modifiers);
    // A watch asked for meanwhile starts now.
    if (onChange_)
        poll_ = beginNotedWatch(watchEvents(), kPollMs, onChange_);
}

QString X11Keyboard::readProblem() const
{
    return xkb_ || !begun_ ? QString() : QStringLiteral("the X server has no keyboard extension (XKEYBOARD)");
}

QString X11Keyboard::pressProblem(LockKey key) const
{
    if (way_[index(key)] != Way::Nothing || !begun_)
        return {};
    if (xwayland_)
        return QStringLiteral("under XWayland a synthetic key press reaches only X programs, not the Wayland "
                              "desktop");
    if (!xtest_)
        return QStringLiteral("the X server has no XTEST extension to send key presses");
    if (keycode_[index(key)] == 0 && key != LockKey::Scroll)
        return QStringLiteral("the keymap has no %1 key").arg(QLatin1String(kKeyNames[index(key)]));
    return QStringLiteral("the keymap binds no lock to %1 and its light cannot be set")
        .arg(QLatin1String(kKeyNames[index(key)]));
}

LockStates X11Keyboard::lockStates()
{
    unsigned int indicators = 0;
    if (!xkb_ || XkbGetIndicatorState(display_, XkbUseCoreKbd, &indicators) != Success)
        return {};
    return {stateOf(indicators, indicator_[index(LockKey::Num)]), stateOf(indicators, indicator_[index(LockKey::Caps)]),
            stateOf(indicators, indicator_[index(LockKey::Scroll)])};
}

bool X11Keyboard::press(LockKey key)
{
    begin();
    const std::size_t i = index(key);
    switch (way_[i]) {
    case Way::Keys:
        XTestFakeKeyEvent(display_, keycode_[i], True, CurrentTime);
        XTestFakeKeyEvent(display_, keycode_[i], False, CurrentTime);
        break;
    case Way::Light: {
        // No modifier follows the key: the light itself is the lock.
        const LockState now = lockStates().of(key);
        if (now == LockState::Unknown ||
            !XkbSetNamedIndicator(display_, indicatorName_[i], True, now == LockState::Off, False, nullptr))
            return false;
        break;
    }
    case Way::Nothing:
        return false;
    }
    XFlush(display_);
    return true;
}

QString X11Keyboard::readCaveat() const
{
    return xwayland_ ? QStringLiteral("under XWayland this is the X server's copy, which follows the keyboard only "
                                      "while an X program has the focus")
                     : QString();
}

int X11Keyboard::idleLimitSeconds()
{
    if (!begun_)
        return 0;
    int timeout = 0, interval = 0, preferBlanking = 0, allowExposures = 0;
    XGetScreenSaver(display_, &timeout, &interval, &preferBlanking, &allowExposures);
    int limit = std::max(timeout, 0);
    int event = 0, error = 0;
    CARD16 power = 0;
    BOOL enabled = False;
    if (DPMSQueryExtension(display_, &event, &error) && DPMSCapable(display_) && DPMSInfo(display_, &power, &enabled) &&
        enabled) {
        CARD16 standby = 0, suspend = 0, off = 0;
        if (DPMSGetTimeouts(display_, &standby, &suspend, &off))
            for (const int seconds : {int(standby), int(suspend), int(off)})
                if (seconds > 0 && (limit == 0 || seconds < limit))
                    limit = seconds;
    }
    return limit;
}

bool X11Keyboard::watch(std::function<void()> onChange)
{
    onChange_ = std::move(onChange);
    // Before begin() the watch is only noted: begin() tells the listener, and
    // asks over and over for it where the server's events cannot be followed.
    return !begun_ || poll_ || watchEvents();
}

bool X11Keyboard::watchEvents()
{
    if (!xkb_)
        return true; // nothing to read, so nothing to look at
    if (watching_)
        return true;
    if (!events_ || events_->display() == nullptr)
        return false;
    Display* d = events_->display();
    int opcode = 0, eventBase = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(d, &opcode, &eventBase, &error, &major, &minor))
        return false;
    XkbSelectEvents(d, XkbUseCoreKbd, XkbIndicatorStateNotifyMask, XkbIndicatorStateNotifyMask);
    handler_ = events_->addHandler([this, eventBase](const XEvent& event) {
        if (event.type == eventBase &&
            reinterpret_cast<const XkbEvent&>(event).any.xkb_type == XkbIndicatorStateNotify && onChange_)
            onChange_();
    });
    watching_ = true;
    return events_->sync();
}

X11Keyboard::~X11Keyboard()
{
    if (handler_ != 0)
        events_->removeHandler(handler_);
}

} // namespace zb
