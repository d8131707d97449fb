#pragma once

#include "platform/ScreenSaverInhibitor.h"

#include <QStringList>

namespace zb {

// An inhibitor that succeeds unless `offered` is false, and records the calls.
class FakeScreenSaverInhibitor : public ScreenSaverInhibitor {
public:
    bool inhibit(const QString& reason) override
    {
        calls << QStringLiteral("inhibit");
        if (offered && !held_) {
            held_ = true;
            lastReason = reason;
        }
        return held_;
    }
    void release() override
    {
        calls << QStringLiteral("release");
        held_ = false;
    }
    bool held() const override { return held_; }

    bool offered = true;
    QString lastReason;
    QStringList calls;

private:
    bool held_ = false;
};

} // namespace zb
