#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace zb {

// Owns the program's timers. The Qt host drives them from the event loop;
// the simulated clock drives them in tests.
//
// Rules every host keeps:
// - start() arms the first tick one interval from now; a started timer
//   repeats until stop(). Starting a running timer re-arms it.
// - Ticks never overlap: each handler runs to its end before the next.
// - A handler that takes long delays the ticks that fall due meanwhile: they
//   arrive late, once, and are not repeated.
class TimerHost {
public:
    using TimerId = int;

    virtual ~TimerHost() = default;

    virtual TimerId create(std::function<void()> onTick) = 0;
    virtual void destroy(TimerId id) = 0;
    virtual void start(TimerId id, int intervalMs) = 0;
    virtual void stop(TimerId id) = 0;
    // The host's monotonic clock, in milliseconds from an arbitrary start:
    // what a count of ticks cannot tell once ticks came late or not at all
    // (the program stopped, the machine busy).
    virtual std::int64_t nowMs() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
};

} // namespace zb
