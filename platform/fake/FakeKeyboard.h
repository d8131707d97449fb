#pragma once

#include "platform/Keyboard.h"

#include <QList>
#include <cstdint>
#include <functional>

namespace zb {

// A keyboard whose locks flip when pressed, as a real one does. Records every
// read and press; `pressable` false makes it one that cannot press.
class FakeKeyboard : public Keyboard {
public:
    struct Press {
        LockKey key;
        std::int64_t atMs;
    };

    bool canPress() const override { return pressable; }
    LockStates lockStates() override
    {
        ++reads;
        return states;
    }
    bool press(LockKey key) override
    {
        if (!pressable)
            return false;
        presses.append({key, now ? now() : 0});
        LockState& s = key == LockKey::Num ? states.num : key == LockKey::Caps ? states.caps : states.scroll;
        if (s != LockState::Unknown)
            s = s == LockState::On ? LockState::Off : LockState::On;
        return true;
    }

    LockStates states{LockState::Off, LockState::Off, LockState::Off};
    bool pressable = true;
    int reads = 0;
    QList<Press> presses;
    std::function<std::int64_t()> now; // stamps presses with the test clock
};

} // namespace zb
