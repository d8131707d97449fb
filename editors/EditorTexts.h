#pragma once

#include <QString>

// Texts shared by several editor windows.
namespace zb::text {

inline const QString kProcessToolTip =
    QStringLiteral("Pause 4 Process - Waits for Process.exe to finish running before continuing.");
inline const QString kZebrane = QStringLiteral("ZEBRANE");
inline const QString kProgramTitle = QStringLiteral("ZB-SEQUENTA");
inline const QString kVersion = QStringLiteral("Version 2.0");

// "TASK_7_CMD_TEXTBOX" from 7 and "CMD_TEXTBOX".
inline QString slotControlName(int n, const char* suffix)
{
    return QStringLiteral("TASK_%1_%2").arg(n).arg(QLatin1String(suffix));
}

} // namespace zb::text
