#pragma once

#include "platform/Crontab.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One copy's line in the user's crontab:
//   <min> <hour> * * <dow> ZB_SEQUENTA_SCHEDULED=1 NAME='value'... '<program>' # ZB-SEQUENTA - <name>
// The trailing comment marks the line as this copy's.
namespace zb::schedule {

// A start time of day as typed, "HH:MM" from 00:00 to 23:59.
struct ClockTime {
    int hour = 0;
    int minute = 0;
};
std::optional<ClockTime> parseRunTime(const QString& text);

// The bit of weekday 1 (Monday) to 7 (Sunday) in CronSchedule::days.
constexpr int weekdayBit(int dayOfWeek) { return 1 << (dayOfWeek - 1); }
inline constexpr int kEveryWeekday = 0x7F;
inline constexpr int kMondayToFriday = 0x1F;

// When the entry runs: on the weekdays whose bits `days` holds, every day
// when it holds none (or all).
struct CronSchedule {
    int minute = 0;
    int hour = 0;
    int days = 0;

    bool runsOn(int dayOfWeek) const { return days == 0 || (days & weekdayBit(dayOfWeek)) != 0; }
    // All seven days are every day.
    int dayMask() const { return (days & kEveryWeekday) == kEveryWeekday ? 0 : days & kEveryWeekday; }
    bool operator==(const CronSchedule& o) const
    {
        return minute == o.minute && hour == o.hour && dayMask() == o.dayMask();
    }
};

// The day-of-week field for the days: "*", "1-5", "1,3,5", "6-7".
QString dayOfWeekField(int days);
// The days a day-of-week field names (0 and 7 both Sunday); nullopt for a
// field this program does not write (steps, names).
std::optional<int> parseDayOfWeekField(const QString& field);

// The variable the line sets so that the program knows cron started it.
inline constexpr char kScheduledStartVariable[] = "ZB_SEQUENTA_SCHEDULED";
// Its value on the line that starts the copy at boot, to catch up a missed start.
inline constexpr char kBootStartValue[] = "boot";

// The longest command, everything after the five time fields, that the
// crontab program takes; it refuses a longer one ("command too long").
inline constexpr qsizetype kMaxCommandBytes = 998;

// What Debian's cron does to a command before sh sees it: "\\" gives "\",
// "\%" gives "%", and a bare % ends the command (the rest goes to its
// standard input, which this returns no part of).
QByteArray cronUnescaped(const QByteArray& command);
// The inverse, for any text: each \ doubled, each % as \%.
QString cronEscaped(const QString& text);
// One word for sh, inside single quotes (each ' as '\''), escaped so that
// cron hands it to sh unchanged: "it's 100%" gives 'it'\''s 100\%'.
QString cronShellWord(const QString& text);

// "# ZB-SEQUENTA - <name>", as it ends this copy's line. A name that ends in
// a blank or in "|" gets one "|" more, so that the marker never ends in a
// blank that an editor might strip, and no two names share a marker.
QByteArray entryMarker(const QString& taskName);

struct ComposedLine {
    QByteArray line; // without its newline; empty on error
    QString error;
};
ComposedLine composeEntry(const CronSchedule& when, const QList<EnvAssignment>& environment, const QString& programPath,
                          const QString& taskName);

// The marker of this copy's line at boot: its entry's marker and " /boot",
// which no copy's own marker can end in (a file name holds no "/").
QByteArray bootMarker(const QString& taskName);
// "@reboot", then the entry's command with the boot value of the mark, then
// bootMarker(): a start at boot that runs the chain only for a missed start.
ComposedLine composeBootEntry(const QList<EnvAssignment>& environment, const QString& programPath,
                              const QString& taskName);

// The schedule of an entry written as composeEntry writes it (a Sunday
// given as 0 too); nullopt for anything else.
std::optional<CronSchedule> parseSchedule(const QByteArray& line);
// Whether the line tells the program that cron started it (lines made by
// earlier versions do not).
bool marksScheduledStart(const QByteArray& line);

} // namespace zb::schedule
