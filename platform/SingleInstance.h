#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

namespace zb {

// One running copy per executable name. A claim lasts as long as the object,
// and ends with the process however it ends.
class SingleInstance {
public:
    virtual ~SingleInstance() = default;

    // True when this process now runs under `name`; false when another copy
    // already does, which runningPid() then names (0 when it cannot be told).
    virtual bool claim(const QString& name) = 0;
    virtual qint64 runningPid() const = 0;
    // From a second copy: asks the running one to bring its window to the
    // front. False when it could not be reached.
    virtual bool askRunningToActivate() = 0;
    // In the running copy: `handler` runs on the event loop whenever another
    // copy asks.
    virtual void onActivationRequest(std::function<void()> handler) = 0;
    // After a failed claim: why no claim could be made at all (the lock is
    // not safe to use), or empty when another copy runs.
    virtual QString refusal() const { return QString(); }
};

} // namespace zb
