#pragma once

#include "platform/TimerHost.h"

#include <cstdint>
#include <functional>
#include <unordered_map>

namespace zb {

// A deterministic clock that owns its timers. advance() delivers every tick
// that falls due, in due order (ties in the order the timers were armed);
// busy() inside a handler moves time on without delivering anything, as a
// handler that takes long does, so ticks that fell due meanwhile arrive late,
// once. After a late tick the timer's next tick is one interval after its
// schedule, or one interval from now when the schedule lies behind.
class SimulatedClock : public TimerHost {
public:
    using Ms = std::int64_t;

    TimerId create(std::function<void()> onTick) override;
    void destroy(TimerId id) override;
    void start(TimerId id, int intervalMs) override;
    void stop(TimerId id) override;
    // A handler takes `ms` to run: time moves on, nothing is delivered.
    void busy(int ms);

    Ms now() const { return now_; }
    std::int64_t nowMs() const override { return now_; }
    // Delivers every tick due up to now() + ms and leaves now() there.
    void advance(Ms ms);
    // Advances one tick at a time until pred() holds or `limit` passes;
    // returns whether pred() holds.
    bool runUntil(const std::function<bool()>& pred, Ms limit);
    // The process has ended: nothing ticks any more.
    void halt() { halted_ = true; }
    bool halted() const { return halted_; }

    std::uint64_t ticksDelivered() const { return delivered_; }

private:
    struct Entry {
        std::function<void()> onTick;
        bool armed = false;
        int interval = 0;
        Ms due = 0;
        std::uint64_t order = 0;
    };

    // Delivers the earliest tick due at or before `limit`; false when none.
    bool deliverNext(Ms limit);

    std::unordered_map<TimerId, Entry> timers_;
    TimerId nextId_ = 1;
    std::uint64_t nextOrder_ = 0;
    Ms now_ = 0;
    std::uint64_t delivered_ = 0;
    bool halted_ = false;
};

} // namespace zb
