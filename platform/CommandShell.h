#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace zb {

// How the command lines that this system writes and runs are spelled.
enum class CommandProfile {
    WindowsBatch, // batch files run by the Windows command interpreter
    PosixShell,   // shell scripts run by /bin/sh
};

// What became of one command run.
struct CommandOutcome {
    bool started = false;  // false: the shell itself could not be run (see error)
    bool timedOut = false; // stopped after the time allowed
    bool crashed = false;  // ended by a signal
    int exitCode = -1;     // meaningful when started, not timed out and not crashed
    QByteArray output;     // standard output and standard error, merged
    QString error;         // why it did not start
};

// The system's command shell: which profile its command lines follow, and
// running one line without blocking the caller.
class CommandShell {
public:
    virtual ~CommandShell() = default;

    virtual CommandProfile profile() const = 0;
    // Runs the line, with no input, and calls done once from the event loop
    // when it has ended or was stopped after timeoutMs. Returns at once.
    virtual void run(const QString& commandLine, int timeoutMs, std::function<void(const CommandOutcome&)> done) = 0;
};

} // namespace zb
