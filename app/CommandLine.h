#pragma once

#include "core/ProgramVersion.h"

#include <QString>
#include <QStringList>

namespace zb {

// What the command line asks for, decided before any window system is
// touched, so that --help and --version work without a display.
struct CommandLine {
    enum class Action {
        Run,  // open the window; Qt's own options are left for Qt
        Exit, // print `output` or `error` and exit with `exitStatus`
        Last, // print this copy's last pass and exit by its result
    };
    Action action = Action::Run;
    int exitStatus = 0;
    QString output; // for standard output
    QString error;  // for standard error
    // A window system was named on the command line (-platform, -display).
    bool displayGiven = false;
    // --no-autostart: a person opens the window to look; the chain does not
    // run by itself this time, whatever AutoStart says.
    bool noAutostart = false;
};

// Exit statuses.
inline constexpr int kExitNormal = 0;
inline constexpr int kExitCannotRun = 1;
inline constexpr int kExitBadOption = 2;

// Reads the arguments (arguments[0] is the program as started).
CommandLine parseCommandLine(const QStringList& arguments);

// The one line printed when no display can be reached, for the reason given.
QString noDisplayText(const QString& programName, const QString& problem);

} // namespace zb
