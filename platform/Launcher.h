#pragma once

#include <QString>
#include <QStringList>

namespace zb {

enum class WindowStyle { NormalFocus, Hidden };

struct LaunchResult {
    bool started = false;
    QString error; // why it did not start; empty when started
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
};

} // namespace zb
