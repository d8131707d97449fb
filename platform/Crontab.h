#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace zb {

// One variable of the graphical session, as NAME and value.
struct EnvAssignment {
    QString name;
    QString value;

    bool operator==(const EnvAssignment&) const = default;
};

struct CrontabResult {
    bool ok = false;
    QByteArray table; // what was read; empty after a write
    QString error;    // the crontab program's own message when it failed
};

// The user's crontab, read and replaced as a whole by the system's crontab
// program. Both calls return at once and report later, on the event loop,
// exactly once each; a program that does not answer in time is stopped and
// reported as a failure.
class Crontab {
public:
    using Done = std::function<void(const CrontabResult&)>;

    virtual ~Crontab() = default;

    // The crontab program, or empty when the machine has none.
    virtual QString programPath() const = 0;
    // The table; a user without one has an empty table.
    virtual void read(Done done) = 0;
    // Replaces the whole table.
    virtual void write(const QByteArray& table, Done done) = 0;
    // Waits until every call made so far has reported (each at most its
    // time limit), so that nothing is left half done when a window closes.
    virtual void settle() = 0;

    // The variables a program started by cron needs to run as this one does
    // (its session, its settings and journal folders, PATH and the locale),
    // as this program itself has them; unset ones are left out.
    virtual QList<EnvAssignment> sessionEnvironment() const = 0;
    // The process names under which the cron daemon runs.
    virtual QStringList daemonNames() const = 0;
};

} // namespace zb
