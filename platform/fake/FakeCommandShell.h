#pragma once

#include "platform/CommandShell.h"

#include <QList>
#include <utility>

namespace zb {

// Records each line asked for and keeps it running until the test finishes
// it with an outcome of its choice.
class FakeCommandShell : public CommandShell {
public:
    struct Run {
        QString commandLine;
        int timeoutMs;
        std::function<void(const CommandOutcome&)> done;
    };

    CommandProfile profile() const override { return profile_; }
    void run(const QString& commandLine, int timeoutMs, std::function<void(const CommandOutcome&)> done) override
    {
        runs.append({commandLine, timeoutMs, std::move(done)});
    }

    // Ends the oldest run still going.
    void finish(const CommandOutcome& outcome)
    {
        for (Run& r : runs)
            if (r.done) {
                std::exchange(r.done, nullptr)(outcome);
                return;
            }
    }

    CommandProfile profile_ = CommandProfile::PosixShell;
    QList<Run> runs;
};

} // namespace zb
