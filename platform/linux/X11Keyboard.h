#pragma once

#include "platform/Keyboard.h"

#include <X11/Xlib.h>
#include <array>
#include <cstddef>

namespace zb {

// Lock keys on an X server: the state is the Xkb indicators of the core
// keyboard (what its lights show), read in one round trip for all three; a
// press is an XTest press and release of the key's keycode.
class X11Keyboard : public Keyboard {
public:
    // The display stays the caller's.
    explicit X11Keyboard(Display* display);

    bool canPress() const override { return canPress_; }
    LockStates lockStates() override;
    bool press(LockKey key) override;

private:
    static constexpr std::size_t index(LockKey key) { return static_cast<std::size_t>(key); }

    Display* display_;
    bool xkb_ = false;
    bool canPress_ = false;
    std::array<int, 3> indicator_{-1, -1, -1}; // bit of each lock's indicator
    std::array<KeyCode, 3> keycode_{0, 0, 0};
};

} // namespace zb
