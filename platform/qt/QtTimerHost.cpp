#include "QtTimerHost.h"

namespace zb {

QtTimerHost::QtTimerHost() = default;
QtTimerHost::~QtTimerHost() = default;

TimerHost::TimerId QtTimerHost::create(std::function<void()> onTick)
{
    auto timer = std::make_unique<QTimer>();
    // Coarse (within 5%) lets Qt wake the program once for timers that fall
    // due together, as the desk's ten-a-second lights and the seconds do.
    timer->setTimerType(Qt::CoarseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [cb = std::move(onTick)] { cb(); });
    const TimerId id = nextId_++;
    timers_.emplace(id, std::move(timer));
    return id;
}

void QtTimerHost::destroy(TimerId id)
{
    auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    it->second->stop();
    // The timer may be inside its own timeout signal.
    it->second.release()->deleteLater();
    timers_.erase(it);
}

void QtTimerHost::start(TimerId id, int intervalMs)
{
    if (QTimer* t = find(id))
        t->start(intervalMs);
}

void QtTimerHost::stop(TimerId id)
{
    if (QTimer* t = find(id))
        t->stop();
}

QTimer* QtTimerHost::find(TimerId id) const
{
    auto it = timers_.find(id);
    return it == timers_.end() ? nullptr : it->second.get();
}

} // namespace zb
