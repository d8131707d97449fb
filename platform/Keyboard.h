#pragma once

#include <QString>
#include <functional>

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
    // Why the locks' state cannot be read in this session; empty when it can.
    virtual QString readProblem() const = 0;
    // Why a state read may not be the keyboard's own; empty when it is.
    virtual QString readCaveat() const { return {}; }
    // Why `key` cannot be pressed in this session (so that its lock flips);
    // empty when it can.
    virtual QString pressProblem(LockKey key) const = 0;
    bool canPress(LockKey key = LockKey::Num) const { return pressProblem(key).isEmpty(); }
    virtual LockStates lockStates() = 0;
    // Flips the key's lock once, by a press and release where the keymap
    // binds a lock to the key; false when that could not be done.
    virtual bool press(LockKey key) = 0;
    // Has onChange called whenever a lock may have changed, so that nobody
    // needs to ask over and over; false when this keyboard cannot tell. A
    // later call replaces the listener; an empty one stops the calls.
    virtual bool watch(std::function<void()> onChange) = 0;
    // Seconds without input after which the window system blanks the screen
    // by itself (its own screen saver, or powering the screen down); 0 when
    // it never does or cannot tell. Read afresh: the user may change it.
    virtual int idleLimitSeconds() { return 0; }
};

} // namespace zb
