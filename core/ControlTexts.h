#pragma once

#include <QString>

// Texts and names shared by the main window and the windows that edit it.
namespace zb::text {

inline const QString kZebrane = QStringLiteral("ZEBRANE");

inline const QString kProcessToolTip =
    QStringLiteral("Pause 4 Process - Waits for Process.exe to finish running before continuing.");

// The tip of a main-window field whose text was typed there and not saved.
inline const QString kTypedHere =
    QStringLiteral("Typed here: used by runs until the program closes, but not saved. To keep it, save it in "
                   "Settings > SINGLE TASK SETTINGS or ALL TASK SETTINGS.");

// Captions of the six program-wide switches.
inline const QString kAutostartCaption = QStringLiteral("AutoStart Timer");
inline const QString kAlwaysOnTopCaption = QStringLiteral("Always On Top");
inline const QString kAutocloseCaption = QStringLiteral("AutoClose At End");
inline const QString kKittAutostartCaption = QStringLiteral("AutoStart KITT");
inline const QString kStartEmailCaption = QStringLiteral("Send Start Email");
inline const QString kEndEmailCaption = QStringLiteral("Send End Email");

// "TASK_7_CMD_TEXTBOX" from 7 and "CMD_TEXTBOX".
inline QString slotControlName(int n, const char* suffix)
{
    return QStringLiteral("TASK_%1_%2").arg(n).arg(QLatin1String(suffix));
}

} // namespace zb::text
