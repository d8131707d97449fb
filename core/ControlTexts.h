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

// What a screen reader calls the controls whose captions do not say it.
inline QString slotSpoken(int n, const char* what)
{
    return QStringLiteral("Slot %1 %2").arg(n).arg(QLatin1String(what));
}
inline constexpr const char* kSpokenEnabled = "enabled";
inline constexpr const char* kSpokenPause = "P-4-P";
inline constexpr const char* kSpokenCommand = "command";
inline constexpr const char* kSpokenProcess = "process name";
inline constexpr const char* kSpokenName = "name";

inline const QString kSpokenRunTime = QStringLiteral("Run time");
inline const QString kSpokenAutostartCountdown = QStringLiteral("Autostart countdown");
inline const QString kSpokenAutocloseCountdown = QStringLiteral("Autoclose countdown");
inline const QString kSpokenHeartbeatCountdown = QStringLiteral("Keep-awake heartbeat countdown");
inline const QString kSpokenNumLock = QStringLiteral("Num Lock light");
inline const QString kSpokenCapsLock = QStringLiteral("Caps Lock light");
inline const QString kSpokenScrollLock = QStringLiteral("Scroll Lock light");
inline const QString kSpokenBrowseCommand = QStringLiteral("Browse for the run command");
inline const QString kSpokenBrowseMailerFolder = QStringLiteral("Browse for the sendEmail folder");
inline const QString kSpokenPicture = QStringLiteral("ZB-SEQUENTA picture");
inline const QString kSpokenHistory = QStringLiteral("Past runs");
inline const QString kSpokenScheduleNotice = QStringLiteral("About scheduled starts");
inline const QString kSpokenScheduleHealth = QStringLiteral("Next scheduled start and the last one");
inline const QString kSpokenSlotPicker = QStringLiteral("Task to edit");

// A task light's state in words, after "Slot 2: ".
inline const QString kLightNotRun = QStringLiteral("not run");
inline const QString kLightRunning = QStringLiteral("running");
inline const QString kLightDone = QStringLiteral("done");
inline const QString kLightSkipped = QStringLiteral("skipped");
inline const QString kLightFailed = QStringLiteral("failed");

} // namespace zb::text
