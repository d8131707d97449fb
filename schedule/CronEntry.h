#pragma once

#include "platform/Crontab.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// One copy's line in the user's crontab:
//   <min> <hour> * * <dow> NAME='value'... '<program>' # ZB-SEQUENTA - <name>
// The trailing comment marks the line as this copy's.
namespace zb::schedule {

// A start time of day as typed, "HH:MM" from 00:00 to 23:59.
struct ClockTime {
    int hour = 0;
    int minute = 0;
};
std::optional<ClockTime> parseRunTime(const QString& text);

// When the entry runs: dayOfWeek 0 for every day, else 1 (Monday) to 7
// (Sunday).
struct CronSchedule {
    int minute = 0;
    int hour = 0;
    int dayOfWeek = 0;

    bool operator==(const CronSchedule&) const = default;
};

// cron turns a bare % into a line break; \% stands for %.
QString cronEscaped(const QString& text);
// One word for sh, inside single quotes (each ' as '\''), escaped so that
// cron hands it to sh unchanged: "it's 100%" gives 'it'\''s 100\%'.
QString cronShellWord(const QString& text);

// "# ZB-SEQUENTA - <name>", as it ends this copy's line.
QByteArray entryMarker(const QString& taskName);

struct ComposedLine {
    QByteArray line; // without its newline; empty on error
    QString error;
};
ComposedLine composeEntry(const CronSchedule& when, const QList<EnvAssignment>& environment, const QString& programPath,
                          const QString& taskName);

// The schedule of an entry written as composeEntry writes it (a Sunday
// given as 0 too); nullopt for anything else.
std::optional<CronSchedule> parseSchedule(const QByteArray& line);
// The first start strictly after now.
QDateTime nextStart(const CronSchedule& when, const QDateTime& now);

} // namespace zb::schedule
