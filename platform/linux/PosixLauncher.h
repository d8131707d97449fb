#pragma once

#include "platform/Launcher.h"

#include <QStringList>

namespace zb {

// Starts commands as detached processes in their own session, without a
// shell. A command line is split as a command line (double quotes group
// words), unless the whole text names an existing executable file, which is
// then run as it is (a path with blanks, as a file dialog gives it).
class PosixLauncher : public Launcher {
public:
    LaunchResult launch(const QString& commandLine, WindowStyle style) override;
    LaunchResult launchArgv(const QStringList& argv, WindowStyle style) override;

    // The program and its arguments that a command line stands for.
    static QStringList splitCommand(const QString& commandLine);
};

} // namespace zb
