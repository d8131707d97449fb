#include "X11Keyboard.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace zb {

namespace {

constexpr std::array<const char*, 3> kIndicatorNames{"Num Lock", "Caps Lock", "Scroll Lock"};
constexpr std::array<KeySym, 3> kKeySyms{XK_Num_Lock, XK_Caps_Lock, XK_Scroll_Lock};

LockState stateOf(unsigned int indicators, int bit)
{
    if (bit < 0)
        return LockState::Unknown;
    return (indicators >> bit) & 1U ? LockState::On : LockState::Off;
}

} // namespace

X11Keyboard::X11Keyboard(Display* display) : display_(display)
{
    int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    xkb_ = XkbQueryExtension(display_, &opcode, &event, &error, &major, &minor);
    if (xkb_) {
        // The indicators' places are looked up once; each read is then one
        // round trip for all three locks.
        for (std::size_t i = 0; i < kIndicatorNames.size(); ++i) {
            int bit = -1;
            Bool on = False;
            const Atom name = XInternAtom(display_, kIndicatorNames[i], False);
            if (XkbGetNamedIndicator(display_, name, &bit, &on, nullptr, nullptr) && bit >= 0 && bit < 32)
                indicator_[i] = bit;
        }
    }
    int testEvent = 0, testError = 0, testMajor = 0, testMinor = 0;
    if (XTestQueryExtension(display_, &testEvent, &testError, &testMajor, &testMinor)) {
        for (std::size_t i = 0; i < kKeySyms.size(); ++i)
            keycode_[i] = XKeysymToKeycode(display_, kKeySyms[i]);
        canPress_ = keycode_[index(LockKey::Num)] != 0;
    }
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
    const KeyCode code = keycode_[index(key)];
    if (!canPress_ || code == 0)
        return false;
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XFlush(display_);
    return true;
}

} // namespace zb
