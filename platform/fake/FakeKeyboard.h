#pragma once

#include "platform/Keyboard.h"

#include <QList>
#include <cstdint>
#include <functional>
#include <optional>

namespace zb {

// A keyboard whose locks flip when pressed, as a real one does. Records every
// read and press. `pressable` false makes it one that cannot press,
// `unpressable` one key it cannot; `tells` false one that cannot tell of
// changes, whose state must be polled.
class FakeKeyboard : public Keyboard {
public:
    struct Press {
        LockKey key;
        std::int64_t atMs;
    };

    QString readProblem() const override { return readable ? QString() : QStringLiteral("cannot read"); }
    QString pressProblem(LockKey key) const override
    {
        return pressable && !(unpressable && *unpressable == key) ? QString() : QStringLiteral("cannot press");
    }
    LockStates lockStates() override
    {
        ++reads;
        return states;
    }
    bool press(LockKey key) override
    {
        if (!canPress(key))
            return false;
        presses.append({key, now ? now() : 0});
        LockState& s = key == LockKey::Num ? states.num : key == LockKey::Caps ? states.caps : states.scroll;
        if (s != LockState::Unknown)
            s = s == LockState::On ? LockState::Off : LockState::On;
        if (onChange)
            onChange();
        return true;
    }
    bool watch(std::function<void()> listener) override
    {
        if (!tells)
            return false;
        onChange = std::move(listener);
        return true;
    }
    int idleLimitSeconds() override { return idleLimit; }
    QString readCaveat() const override { return caveat; }
    // A lock changed from outside (the user's key, another program).
    void set(LockStates s)
    {
        states = s;
        if (onChange)
            onChange();
    }

    LockStates states{LockState::Off, LockState::Off, LockState::Off};
    bool readable = true;
    bool pressable = true;
    std::optional<LockKey> unpressable;
    bool tells = false;
    int idleLimit = 0;
    QString caveat;
    int reads = 0;
    QList<Press> presses;
    std::function<std::int64_t()> now; // stamps presses with the test clock
    std::function<void()> onChange;
};

} // namespace zb
