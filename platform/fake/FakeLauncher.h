#pragma once

#include "platform/Launcher.h"

#include <QList>
#include <QSet>
#include <cstdint>
#include <functional>

namespace zb {

// Records every launch; commands listed in failing do not start.
class FakeLauncher : public Launcher {
public:
    struct Call {
        QString command;
        WindowStyle style;
        std::int64_t atMs;
    };

    LaunchResult launch(const QString& commandLine, WindowStyle style) override
    {
        calls.append({commandLine, style, now ? now() : 0});
        if (onLaunch)
            onLaunch(commandLine);
        if (failing.contains(commandLine))
            return {false, QStringLiteral("scripted failure")};
        return {true, QString()};
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
    std::function<std::int64_t()> now;          // stamps calls with the test clock
    std::function<void(const QString&)> onLaunch; // looks at the world as the launch happens
};

} // namespace zb
