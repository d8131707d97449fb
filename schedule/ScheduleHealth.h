#pragma once

#include "CronEntry.h"

#include <QDateTime>
#include <QStringList>
#include <QTimeZone>

// The parts of the scheduled-task window's health line that read the clock
// and the run journal.
namespace zb::schedule {

struct HealthPart {
    QString text;
    bool warn = false; // said in red
};

// "Next start: Sun 2026-03-29 03:00", as cron will really start the entry,
// with a note when the clock change moves it off its time; empty when the
// entry never starts.
QString nextStartText(const CronSchedule& when, const QDateTime& now, const QTimeZone& zone);

// What became of the last start the entry expected, from the journal:
// "Last scheduled start: Mon 2026-12-07 07:30, COMPLETED SUCCESSFULLY", or
// "Mon 07:30 did not start: the machine was off or cron was not running".
// A start is only missed when it was due at least a little while ago, after
// `since` (when the entry was made or enabled) and the line marks its starts;
// otherwise only a start the journal holds is told, or nothing.
HealthPart lastStartText(const QStringList& journalLines, const CronSchedule& when, const QDateTime& now,
                         const QTimeZone& zone, const QDateTime& since, bool lineMarksStarts);

// Where the entry's DISPLAY or XAUTHORITY is not this session's (a new
// login moves both): "The entry starts on display :150, this session is on
// :151 ..."; empty when they agree, or when the line or the session has none.
QString sessionMismatchText(const QByteArray& line, const QList<EnvAssignment>& session);

} // namespace zb::schedule
