#pragma once

#include "engine/RunJournal.h"

#include <QString>
#include <optional>

namespace zb {

class Program;

// How this start goes: cron's mark, and whether a window can open.
struct StartOptions {
    bool scheduled = false;    // cron started this copy (its entry sets the mark)
    bool windowless = false;   // no display: the chain runs on Qt's offscreen platform
    QString noDisplay;         // why no window can open; empty when one can
    bool displayGiven = false; // the command line named the platform or display
    bool noAutostart = false;  // a person's look: the autostart countdown is put off
};

// Reads cron's mark and removes it from the environment, so that the tasks
// and a copy started from them do not take it for theirs.
bool takeScheduledStartMark();

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

// After a failed claim on the name: `lockProblem` is why no claim could be
// made at all, empty when another copy of the same name runs.
StartRefusal claimRefusal(const QString& lockProblem);

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
// line, so that the next morning tells what happened.
StartPlan planStart(bool scheduled, bool autostartTicked, const QString& noDisplay, const QString& programName);

// After start-up: journals a start by cron and marks its autostart pass; a
// windowless run always closes after its chain, as if AutoClose were ticked
// (the stored tick is left as it is).
void applyStartOptions(Program& program, const StartOptions& options);

} // namespace zb
