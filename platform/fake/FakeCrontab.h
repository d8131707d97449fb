#pragma once

#include "platform/Crontab.h"

#include <QList>

namespace zb {

// A crontab held in memory. Calls report at once, or, with deferred set,
// when the test calls settle(). failRead / failWrite script the crontab
// program's failure message; calls records "read" and "write".
class FakeCrontab : public Crontab {
public:
    QString programPath() const override { return path; }
    void read(Done done) override
    {
        calls << QStringLiteral("read");
        report(
            [this] {
                if (!failRead.isEmpty())
                    return CrontabResult{false, {}, failRead};
                return CrontabResult{true, table, {}};
            },
            std::move(done));
    }
    void write(const QByteArray& newTable, Done done) override
    {
        calls << QStringLiteral("write");
        report(
            [this, newTable] {
                if (!failWrite.isEmpty())
                    return CrontabResult{false, {}, failWrite};
                table = newTable;
                ++writes;
                return CrontabResult{true, {}, {}};
            },
            std::move(done));
    }
    void settle() override
    {
        while (!pending.isEmpty())
            pending.takeFirst()();
    }
    QList<EnvAssignment> sessionEnvironment() const override { return environment; }
    QStringList daemonNames() const override { return {QStringLiteral("cron")}; }

    QString path = QStringLiteral("/usr/bin/crontab");
    QByteArray table;
    QString failRead;
    QString failWrite;
    bool deferred = false;
    int writes = 0;
    QStringList calls;
    QList<EnvAssignment> environment{{QStringLiteral("DISPLAY"), QStringLiteral(":0")}};
    QList<std::function<void()>> pending;

private:
    template <typename Outcome>
    void report(Outcome outcome, Done done)
    {
        auto run = [outcome, done = std::move(done)] { done(outcome()); };
        if (deferred)
            pending << run;
        else
            run();
    }
};

} // namespace zb
