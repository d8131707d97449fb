#pragma once

#include "platform/ProcessNameTexts.h"

#include <QString>

// Texts and names shared by the main window and the windows that edit it.
namespace zb::text {

inline const QString kZebrane = QStringLiteral("ZEBRANE");

inline const QString kProcessToolTip = platform_text::kPauseForProcessTip;
inline const QString kProcessColumn = QStringLiteral(" P-4-P - ") + platform_text::kProcessNameLabel;

// What the four START/STOP buttons of the main window start, for their tips
// and for screen readers.
inline const QString kMainStartTip =
    QStringLiteral("START runs the enabled tasks one after another from task 1, now. STOP stops the chain.");
inline const QString kMainStartName = QStringLiteral("Start or stop the task chain");
inline const QString kAutostartStartTip =
    QStringLiteral("START counts down eleven seconds, then runs the task chain with its start e-mail.");
inline const QString kAutostartStopTip =
    QStringLiteral("STOP (or Esc) cancels the autostart countdown: the task chain does not run.");
inline const QString kAutostartName = QStringLiteral("Start or cancel the autostart countdown of the task chain");
inline const QString kAutocloseStartTip =
    QStringLiteral("START counts down eleven seconds, then closes the program; STOP keeps it open.");
inline const QString kAutocloseName = QStringLiteral("Start or stop the autoclose countdown of the program");
inline const QString kKittStartTip =
    QStringLiteral("START runs the scanning lights and the keep-awake heartbeat; STOP ends them.");
inline const QString kKittName = QStringLiteral("Start or stop the scanning lights and the keep-awake heartbeat");

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

// The autostart countdown runs: how long until the chain starts, and how to
// keep it from starting.
inline QString autostartIn(int seconds)
{
    return QStringLiteral("!!! AUTOSTARTING IN %1 s - PRESS STOP OR ESC TO CANCEL !!!").arg(seconds);
}

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
