#pragma once

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
};

} // namespace zb
