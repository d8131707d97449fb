#pragma once

#include <QString>

// The scheduled-task window's texts.
namespace zb::text {

inline const QString kTaskCreated = QStringLiteral("TASK-CREATED");
inline const QString kTaskDeleted = QStringLiteral("TASK-DELETED");

inline const QString kSchedulerTitle = QStringLiteral("ZB-SEQUENTA - CRON \"SCHEDULED TASK\" MANAGER");
inline const QString kSchedulerNotice =
    QStringLiteral("CHANGES MADE TO THE ENTRY USING\n\"crontab -e\"\nSHOW ONLY IN THE LINE BELOW");

inline const QString kBadRunTime = QStringLiteral("The run time must be HH:MM, from 00:00 to 23:59.");
inline const QString kNoDayChoice = QStringLiteral("Choose Every Day or the weekdays first.");
inline const QString kNoEntryToEnable =
    QStringLiteral("There is no entry for this copy in the crontab to enable: create the task first.");
inline const QString kStoredButMissing = QStringLiteral("Stored as created, but no entry found in the crontab");
inline const QString kEntryDisabled = QStringLiteral("Entry found but disabled");
inline const QString kNoEntry = QStringLiteral("No scheduled start for this copy");
// How a start at boot that ran a missed minute is journaled: "caught up, planned for 2026-12-08 02:00".
inline const QString kCaughtUpFor = QStringLiteral("caught up, planned for ");
inline const QString kNoCronDaemon = QStringLiteral("no cron daemon is running, so nothing will start");

// The reference beside the controls: the crontab fields and how this window
// fills them.
inline const QString kCrontabReference =
    QStringLiteral("CRONTAB ENTRY FIELDS\n"
                   "  minute  hour  day-of-month  month  day-of-week  command\n"
                   "  0-59    0-23  1-31          1-12   0-7 (0 and 7 = Sunday, 1 = Monday)\n"
                   "  *  any value      1-5  a range      1,3,5  a list      */15  every 15th\n"
                   "\n"
                   "HOW THIS WINDOW USES THEM\n"
                   "  Run Time HH:MM fills the minute and hour fields.\n"
                   "  Every Day gives * as day of week; weekdays give 1 (Monday) to 7 (Sunday),\n"
                   "  as a list or a range: 1,3,5 or 1-5 (Monday to Friday).\n"
                   "  Day of month and month are always *.\n"
                   "  The command sets ZB_SEQUENTA_SCHEDULED=1 (cron started this copy), then\n"
                   "  DISPLAY, XAUTHORITY, XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS,\n"
                   "  XDG_CONFIG_HOME, XDG_STATE_HOME, PATH, LANG and LC_ALL, each only when set,\n"
                   "  as this program has them now: the started copy opens its window in your\n"
                   "  session, reads these settings, journals where History looks and finds the\n"
                   "  tasks' programs as a start by hand does. Then it runs this copy's file.\n"
                   "  The line ends in # ZB-SEQUENTA - <name>; each copy owns one such line.\n"
                   "  Enable Scheduled Task cleared puts #ZB-SEQUENTA-DISABLED# before the line.\n"
                   "\n"
                   "BY HAND\n"
                   "  crontab -l    list your entries\n"
                   "  crontab -e    edit them; delete the line ending in # ZB-SEQUENTA - <name> to remove it\n"
                   "\n"
                   "WITHOUT A SESSION\n"
                   "  When nobody is logged in at the run time (no display), a copy with\n"
                   "  AutoStart Timer ticked runs its chain without a window, with its e-mails\n"
                   "  and journal, and closes after it; with AutoStart Timer clear it does not\n"
                   "  run, and the journal says so. The line at the top tells how the last\n"
                   "  scheduled start went, or that it did not happen.\n"
                   "\n"
                   "cron must be running.");

} // namespace zb::text
