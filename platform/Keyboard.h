#pragma once

namespace zb {

enum class LockKey { Num, Caps, Scroll };

// What is known of one lock: on, off, or unknown where the system cannot
// tell (no keyboard state to read, or a keymap without that lock).
enum class LockState { Unknown, Off, On };

struct LockStates {
    LockState num = LockState::Unknown;
    LockState caps = LockState::Unknown;
    LockState scroll = LockState::Unknown;

    LockState of(LockKey key) const
    {
        switch (key) {
        case LockKey::Num:
            return num;
        case LockKey::Caps:
            return caps;
        case LockKey::Scroll:
            return scroll;
        }
        return LockState::Unknown;
    }
    bool operator==(const LockStates&) const = default;
};

// The keyboard's lock keys: their state, read afresh for all three at once,
// and a synthetic press and release of one of them.
class Keyboard {
public:
    virtual ~Keyboard() = default;
    // Whether key presses can be synthesised at all on this system.
    virtual bool canPress() const = 0;
    virtual LockStates lockStates() = 0;
    // Presses and releases the key once, so that its lock flips; false when
    // the press could not be sent.
    virtual bool press(LockKey key) = 0;
};

} // namespace zb
