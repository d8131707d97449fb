#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace zb {

enum class WindowStyle { NormalFocus, Hidden };

// How a task is asked to end: politely first, then for certain.
enum class StopSignal { Terminate, Kill };

struct LaunchResult {
    bool started = false;
    QString error;  // why it did not start; empty when started
    qint64 pid = 0; // the started process; 0 when not known
    // Why a task's output file could not be made; its output then goes
    // nowhere, never to the program's own output.
    QString outputError = QString();
};

// How a started process ended.
struct ProcessEnd {
    qint64 pid = 0;
    int exitCode = 0; // when it exited
    int signal = 0;   // non-zero when a signal ended it
    qint64 runMs = 0; // from its start to its end
};

// Starts a command line as a new, independent process and returns at once.
// The process outlives the program.
class Launcher {
public:
    virtual ~Launcher() = default;
    virtual LaunchResult launch(const QString& commandLine, WindowStyle style) = 0;
    // The same for a program and its arguments given word by word, so that
    // nothing in them needs quoting.
    virtual LaunchResult launchArgv(const QStringList& argv, WindowStyle style) = 0;
    // A task: its standard output and error are appended to outputFile
    // (made when missing). Where the output cannot be kept, the task still
    // starts, its output is discarded and the result says why.
    virtual LaunchResult launchLogged(const QString& commandLine, const QString& outputFile)
    {
        Q_UNUSED(outputFile);
        return launch(commandLine, WindowStyle::NormalFocus);
    }

    // Blocks until the started process `pid` has ended, reporting its end
    // to onEnded, or until timeoutMs have passed. True when it ended; false
    // as well where the system cannot wait for it.
    virtual bool awaitEnd(qint64 pid, int timeoutMs)
    {
        Q_UNUSED(pid);
        Q_UNUSED(timeoutMs);
        return false;
    }

    // Sends the signal to every process of the group that the started
    // process `pid` leads (each task starts a group of its own). True when
    // some process of the group was there to receive it.
    virtual bool signalGroup(qint64 pid, StopSignal signal)
    {
        Q_UNUSED(pid);
        Q_UNUSED(signal);
        return false;
    }

    // Told from the event loop when a started process ends, where the system
    // can tell.
    std::function<void(const ProcessEnd&)> onEnded;
};

} // namespace zb
