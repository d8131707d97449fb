#pragma once

#include "platform/Launcher.h"

#include <QStringList>
#include <map>
#include <memory>

class QSocketNotifier;
class QTimer;

namespace zb {

// Starts commands without a shell, each in a session of its own so that it
// outlives the program. A command line is split as a command line (double
// quotes group words), unless the whole text names an existing executable
// file, which is then run as it is (a path with blanks, as a file dialog
// gives it).
//
// Started processes stay children of the program: each is reaped as soon as
// it ends, through a pidfd watched by the event loop, and reported to
// onEnded. Where the kernel refuses pidfds (older kernels, sandboxes that
// filter the call) the event loop looks for ended children every quarter
// second instead. Without an event loop they are reaped at the next launch
// or by reapEnded().
class PosixLauncher : public Launcher {
public:
    PosixLauncher();
    ~PosixLauncher() override;
    PosixLauncher(const PosixLauncher&) = delete;
    PosixLauncher& operator=(const PosixLauncher&) = delete;

    LaunchResult launch(const QString& commandLine, WindowStyle style) override;
    LaunchResult launchArgv(const QStringList& argv, WindowStyle style) override;
    LaunchResult launchLogged(const QString& commandLine, const QString& outputFile) override;
    bool awaitEnd(qint64 pid, int timeoutMs) override;
    bool signalGroup(qint64 pid, StopSignal signal) override;

    // Reaps every child that has ended and reports each; returns how many.
    int reapEnded();
    // The children not yet reaped.
    int children() const { return static_cast<int>(children_.size()); }

    // The program and its arguments that a command line stands for.
    static QStringList splitCommand(const QString& commandLine);

    // Off: started children are watched as where the kernel has no pidfds.
    bool usePidFds = true;

private:
    struct Child;
    LaunchResult start(const QStringList& words, WindowStyle style, const QString& outputFile);
    void watch(int pid);
    bool reap(int pid);

    std::map<int, std::unique_ptr<Child>> children_;
    // Looks for ended children that no pidfd watches; runs while there are.
    std::unique_ptr<QTimer> poll_;
};

} // namespace zb
