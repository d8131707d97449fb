#pragma once

#include "engine/RunJournal.h"
#include "schedule/CronEntry.h"

#include <QDateTime>
#include <QString>
#include <QTimeZone>
#include <optional>

namespace zb {

class Program;
class Settings;

// How this start goes: cron's mark, and whether a window can open.
struct StartOptions {
    bool scheduled = false;    // cron started this copy (its entry sets the mark)
    bool windowless = false;   // no display: the chain runs on Qt's offscreen platform
    QString noDisplay{};       // why no window can open; empty when one can
    bool displayGiven = false; // the command line named the platform or display
    bool noAutostart = false;  // a person's look: the autostart countdown is put off
    QString caughtUp{};        // a start at boot that runs a missed one: "caught up, planned for <time>"
};

// How cron's mark says this copy was started: by its entry's minute, or at
// boot by its catch-up line.
enum class ScheduledMark { None, Schedule, Boot };

// Reads cron's mark and removes it from the environment, so that the tasks
// and a copy started from them do not take it for theirs.
ScheduledMark takeScheduledStartMark();

// The start a copy started at boot catches up: the entry's last minute before
// now, when it came after `since` (the entry was made or enabled) and no pass
// nor scheduled start is journaled from it on. Nothing otherwise: the copy
// then exits at once.
std::optional<QDateTime> missedStart(const QStringList& journalLines, const schedule::CronSchedule& when,
                                     const QDateTime& now, const QTimeZone& zone, const QDateTime& since);
// "caught up, planned for 2026-12-08 02:00"
QString caughtUpText(const QDateTime& planned, const QTimeZone& zone);
// For a copy started at boot: the caught-up text when the schedule stored in
// the settings missed a start, per missedStart(); nothing when it did not.
std::optional<QString> catchUpAtBoot(const Settings& settings, const RunJournal& journal, const QDateTime& now,
                                     const QTimeZone& zone);

// A start that gave up on a display that never answered starts again without
// it; this mark, read and removed like cron's, carries why.
inline constexpr char kUnusableDisplayVariable[] = "ZB_SEQUENTA_UNUSABLE_DISPLAY";
QString takeUnusableDisplayMark();

// Why a start did not run, as a value: stderr, the journal, History and
// --last all tell it from here.
struct StartRefusal {
    enum class Kind { NoDisplay, OtherCopyRuns, LockUnsafe };
    Kind kind = Kind::NoDisplay;
    QString reason; // in the journal's words
    JournalEvent record() const;
};

// A start at boot that could not run says which minute it was for: the
// reason, then "; started at boot to catch up the start planned for <time>"
// when `caughtUp` is a caught-up text.
QString withCatchUpNote(const QString& reason, const QString& caughtUp);

// After a failed claim on the name: `lockProblem` is why no claim could be
// made at all, empty when another copy of the same name runs. `caughtUp` as
// for planStart().
StartRefusal claimRefusal(const QString& lockProblem, const QString& caughtUp = QString());

enum class StartMode { Window, Windowless, NotRun };

struct StartPlan {
    StartMode mode = StartMode::Window;
    QString stderrText;                 // the line to print, if any
    StartRefusal refusal;               // why, when it does not run
    std::optional<JournalEvent> record; // what a scheduled start that does not run leaves in the journal
};

// What to do when no window can open (`noDisplay` says why; empty when one
// can). Only a start by cron with the autostart ticked runs without one: it
// runs the chain and closes, and says so on stderr. Any other start gets the
// one-line message and exit status 1; a scheduled one also leaves a journal
// line, so that the next morning tells what happened. `caughtUp` is the
// caught-up text of a start at boot, empty for any other start.
StartPlan planStart(bool scheduled, bool autostartTicked, const QString& noDisplay, const QString& programName,
                    const QString& caughtUp = QString());

// After start-up: journals a start by cron and marks its autostart pass; a
// windowless run always closes after its chain, as if AutoClose were ticked
// (the stored tick is left as it is).
void applyStartOptions(Program& program, const StartOptions& options);

} // namespace zb
