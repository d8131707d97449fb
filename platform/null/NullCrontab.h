#pragma once

#include "platform/Crontab.h"

namespace zb {

// A system without cron: every call fails at once with the same message.
class NullCrontab : public Crontab {
public:
    QString programPath() const override { return {}; }
    void read(Done done) override { done(unsupported()); }
    void write(const QByteArray&, Done done) override { done(unsupported()); }
    void settle() override {}
    QList<EnvAssignment> sessionEnvironment() const override { return {}; }
    QStringList daemonNames() const override { return {}; }

private:
    static CrontabResult unsupported()
    {
        return {false, {}, QStringLiteral("Scheduled starts are not supported on this system.")};
    }
};

} // namespace zb
