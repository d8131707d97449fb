#include "Timer.h"

namespace zb {

Timer::Timer(TimerHost& host, QString objectName, int intervalMs)
    : host_(host),
      id_(host.create([this] { tick(); })),
      objectName_(std::move(objectName)),
      intervalMs_(intervalMs)
{}

Timer::~Timer() { host_.destroy(id_); }

void Timer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    if (enabled_)
        arm();
    else
        host_.stop(id_);
    if (onEnabledChanged)
        onEnabledChanged();
}

void Timer::setInterval(int intervalMs)
{
    if (intervalMs == intervalMs_)
        return;
    intervalMs_ = intervalMs;
    if (enabled_)
        arm();
}

void Timer::setWakesUp(bool wakesUp)
{
    if (wakesUp == wakesUp_)
        return;
    wakesUp_ = wakesUp;
    if (enabled_)
        arm();
}

void Timer::arm()
{
    // A timer with no interval never ticks, as a window timer of interval 0.
    if (intervalMs_ > 0 && wakesUp_)
        host_.start(id_, intervalMs_);
    else
        host_.stop(id_);
}

void Timer::tick()
{
    if (enabled_ && onTick)
        onTick();
}

} // namespace zb
