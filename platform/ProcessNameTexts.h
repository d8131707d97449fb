#pragma once

#include <QString>

// How the system's processes are named in the windows' texts: by their
// executable file on Windows, by their process name elsewhere.
namespace zb::platform_text {

#ifdef Q_OS_WIN
inline const QString kProcessNameLabel = QStringLiteral("Process.exe Name");
inline const QString kPauseForProcessTip =
    QStringLiteral("Pause 4 Process - Waits for Process.exe to finish running before continuing. "
                   "With no name, waits for the task itself to finish.");
#else
inline const QString kProcessNameLabel = QStringLiteral("Process Name");
inline const QString kPauseForProcessTip =
    QStringLiteral("Pause 4 Process - Waits until no process of this process name runs before continuing. "
                   "With no process name, waits for the task itself to finish.");
#endif

} // namespace zb::platform_text
