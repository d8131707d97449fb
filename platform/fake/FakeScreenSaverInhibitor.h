#pragma once

#include "platform/ScreenSaverInhibitor.h"

#include <QStringList>

namespace zb {

// An inhibitor held by `offeredBy` as soon as it is wanted (none: nobody
// offers one), recording the calls. The test moves the holder with
// setHolder(), as a service that comes and goes would.
class FakeScreenSaverInhibitor : public ScreenSaverInhibitor {
public:
    void inhibit(const QString& reason) override
    {
        calls << QStringLiteral("inhibit");
        wanted = true;
        lastReason = reason;
        setHolder(offeredBy);
    }
    void release() override
    {
        calls << QStringLiteral("release");
        wanted = false;
        setHolder(InhibitionHolder::None);
    }
    InhibitionHolder holder() const override { return holder_; }

    void setHolder(InhibitionHolder h)
    {
        if (h == holder_)
            return;
        holder_ = h;
        holderChanged();
    }

    InhibitionHolder offeredBy = InhibitionHolder::ScreenSaver;
    bool wanted = false;
    QString lastReason;
    QStringList calls;

private:
    InhibitionHolder holder_ = InhibitionHolder::None;
};

} // namespace zb
