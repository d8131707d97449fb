#pragma once

#include "platform/TimerHost.h"

#include <QString>
#include <functional>

namespace zb {

// A window timer: an interval, an enabled flag and a tick handler. Enabling a
// disabled timer arms its first tick one interval later; it then repeats
// while enabled. Changing the interval of an enabled timer re-arms it.
class Timer {
public:
    Timer(TimerHost& host, QString objectName, int intervalMs = 0);
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;
    ~Timer();

    const QString& objectName() const { return objectName_; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    int interval() const { return intervalMs_; }
    void setInterval(int intervalMs);
    // Whether the host wakes the timer up each interval (the default). A part
    // that the system tells of every change itself, or that has nothing to
    // look at, turns the wake-ups off: the timer keeps its enabled flag and
    // interval, but no longer ticks, and the program sleeps while idle.
    bool wakesUp() const { return wakesUp_; }
    void setWakesUp(bool wakesUp);

    std::function<void()> onTick;
    // Runs after the enabled flag has changed, for parts that follow a
    // timer's running state.
    std::function<void()> onEnabledChanged;

private:
    void arm();
    void tick();

    TimerHost& host_;
    TimerHost::TimerId id_;
    QString objectName_;
    int intervalMs_;
    bool enabled_ = false;
    bool wakesUp_ = true;
};

} // namespace zb
