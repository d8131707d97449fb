#include "SimulatedClock.h"

#include <algorithm>

namespace zb {

TimerHost::TimerId SimulatedClock::create(std::function<void()> onTick)
{
    const TimerId id = nextId_++;
    timers_[id].onTick = std::move(onTick);
    return id;
}

void SimulatedClock::destroy(TimerId id) { timers_.erase(id); }

void SimulatedClock::start(TimerId id, int intervalMs)
{
    auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    Entry& e = it->second;
    e.armed = true;
    e.interval = intervalMs;
    e.due = now_ + intervalMs;
    e.order = nextOrder_++;
}

void SimulatedClock::stop(TimerId id)
{
    auto it = timers_.find(id);
    if (it != timers_.end())
        it->second.armed = false;
}

void SimulatedClock::busy(int ms) { now_ += ms; }

bool SimulatedClock::deliverNext(Ms limit)
{
    if (halted_)
        return false;
    TimerId best = 0;
    const Entry* bestEntry = nullptr;
    for (const auto& [id, e] : timers_) {
        if (!e.armed || e.due > limit)
            continue;
        if (bestEntry == nullptr || e.due < bestEntry->due || (e.due == bestEntry->due && e.order < bestEntry->order)) {
            best = id;
            bestEntry = &e;
        }
    }
    if (bestEntry == nullptr)
        return false;

    Entry& e = timers_[best];
    now_ = std::max(now_, e.due);
    // Reschedule before the handler runs, so that the handler may stop or
    // re-arm its own timer.
    e.due += e.interval;
    if (e.due < now_)
        e.due = now_ + e.interval;
    e.order = nextOrder_++;
    ++delivered_;
    auto onTick = e.onTick; // the handler may destroy the timer
    onTick();
    return true;
}

void SimulatedClock::advance(Ms ms)
{
    const Ms target = now_ + ms;
    while (deliverNext(target)) {
    }
    now_ = std::max(now_, target);
}

bool SimulatedClock::runUntil(const std::function<bool()>& pred, Ms limit)
{
    const Ms end = now_ + limit;
    while (!pred()) {
        if (!deliverNext(end)) {
            now_ = std::max(now_, end);
            return pred();
        }
    }
    return true;
}

} // namespace zb
