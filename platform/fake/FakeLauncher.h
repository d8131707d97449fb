#pragma once

#include "platform/Launcher.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

namespace zb {

// Records every launch; commands listed in failing do not start, nor do
// they with further words after them. A launch
// given word by word is recorded with its words joined by blanks. Started
// processes get pids from 1000 on; end() reports one's end.
class FakeLauncher : public Launcher {
public:
    struct Call {
        QString command;
        WindowStyle style;
        std::int64_t atMs;
        QStringList argv;     // the words of a launchArgv(); empty for launch()
        QString outputFile{}; // launchLogged()'s; empty for the others
        qint64 pid = 0;
    };

    LaunchResult launch(const QString& commandLine, WindowStyle style) override
    {
        return record({commandLine, style, now ? now() : 0, QStringList()});
    }
    LaunchResult launchArgv(const QStringList& argv, WindowStyle style) override
    {
        return record({argv.join(QLatin1Char(' ')), style, now ? now() : 0, argv});
    }
    LaunchResult launchLogged(const QString& commandLine, const QString& outputFile) override
    {
        return record({commandLine, WindowStyle::NormalFocus, now ? now() : 0, QStringList(), outputFile});
    }

    // Waiting for a process: awaiting decides whether it ends meanwhile (and
    // reports it); none given, it does not. Each wait is recorded.
    bool awaitEnd(qint64 pid, int timeoutMs) override
    {
        awaited.append({pid, timeoutMs});
        return awaiting ? awaiting(pid) : false;
    }

    // Records the signal; a group listed in gone has no process left.
    bool signalGroup(qint64 pid, StopSignal signal) override
    {
        signalled.append({pid, signal});
        return !gone.contains(pid);
    }

    // The started process `pid` ends as given.
    void end(qint64 pid, int exitCode, int signal = 0, qint64 runMs = 0)
    {
        if (onEnded)
            onEnded({pid, exitCode, signal, runMs});
    }

    QStringList commands() const
    {
        QStringList out;
        for (const Call& c : calls)
            out << c.command;
        return out;
    }

    QList<Call> calls;
    QList<std::pair<qint64, int>> awaited;
    QList<std::pair<qint64, StopSignal>> signalled;
    QSet<qint64> gone;
    std::function<bool(qint64 pid)> awaiting;
    QSet<QString> failing;
    std::function<std::int64_t()> now;            // stamps calls with the test clock
    std::function<void(const QString&)> onLaunch; // looks at the world as the launch happens

private:
    LaunchResult record(Call call)
    {
        const bool fails = failing.contains(call.command) ||
                           std::any_of(failing.cbegin(), failing.cend(),
                                       [&](const QString& f) { return call.command.startsWith(f + QLatin1Char(' ')); });
        if (!fails)
            call.pid = nextPid++;
        calls.append(call);
        if (onLaunch)
            onLaunch(call.command);
        if (fails)
            return {false, QStringLiteral("scripted failure")};
        return {true, QString(), call.pid};
    }
    qint64 nextPid = 1000;
};

} // namespace zb
