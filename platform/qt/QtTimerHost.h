#pragma once

#include "platform/TimerHost.h"

#include <QTimer>
#include <memory>
#include <unordered_map>

namespace zb {

// Timers on the Qt event loop.
class QtTimerHost : public TimerHost {
public:
    QtTimerHost();
    ~QtTimerHost() override;

    TimerId create(std::function<void()> onTick) override;
    void destroy(TimerId id) override;
    void start(TimerId id, int intervalMs) override;
    void stop(TimerId id) override;

private:
    QTimer* find(TimerId id) const;

    std::unordered_map<TimerId, std::unique_ptr<QTimer>> timers_;
    TimerId nextId_ = 1;
};

} // namespace zb
