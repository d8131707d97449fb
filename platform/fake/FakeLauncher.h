#pragma once

#include "platform/Launcher.h"

#include <QList>
#include <QSet>
#include <QStringList>
#include <cstdint>
#include <functional>

namespace zb {

// Records every launch; commands listed in failing do not start. A launch
// given word by word is recorded with its words joined by blanks.
class FakeLauncher : public Launcher {
public:
    struct Call {
        QString command;
        WindowStyle style;
        std::int64_t atMs;
        QStringList argv; // the words of a launchArgv(); empty for launch()
    };

    LaunchResult launch(const QString& commandLine, WindowStyle style) override
    {
        return record({commandLine, style, now ? now() : 0, QStringList()});
    }
    LaunchResult launchArgv(const QStringList& argv, WindowStyle style) override
    {
        return record({argv.join(QLatin1Char(' ')), style, now ? now() : 0, argv});
    }

    QStringList commands() const
    {
        QStringList out;
        for (const Call& c : calls)
            out << c.command;
        return out;
    }

    QList<Call> calls;
    QSet<QString> failing;
    std::function<std::int64_t()> now;            // stamps calls with the test clock
    std::function<void(const QString&)> onLaunch; // looks at the world as the launch happens

private:
    LaunchResult record(const Call& call)
    {
        calls.append(call);
        if (onLaunch)
            onLaunch(call.command);
        if (failing.contains(call.command))
            return {false, QStringLiteral("scripted failure")};
        return {true, QString()};
    }
};

} // namespace zb
