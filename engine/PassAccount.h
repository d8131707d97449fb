#pragma once

#include "JournalText.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <atomic>

namespace zb {

class RunJournal;

// What became of one slot in a pass, as the journal tells it.
struct HistorySlot {
    int slot = 0;
    QString outcome{};
    QString outputFile{};
    bool failed = false; // failed to start, or its task ended badly
    bool skipped = false;
    QString name{};         // the slot's own name; empty when it had none
    QList<int> ranBeside{}; // the slots whose tasks still ran when its own started
};

// "TASK 2 (Cleanup)", or "TASK 2" for a slot without a name of its own.
QString slotLabel(int slot, const QString& name);

// One pass, as the journal tells it; a start by the schedule that could not
// run is a pass whose result says why.
struct HistoryPass {
    QString id; // empty for a pass of an older journal, and for a start that did not run
    QDateTime started;
    QString how;    // "By hand", "Autostart", "By schedule", "By schedule, without a window" or "Unknown"
    QString took;   // from its start to its last event, "h:mm:ss"
    QString result; // the last-run text, or how it stopped; what became of the end e-mail after it
    // As its chain ended, tasks that still ran aside; empty before that.
    QString chainResult;
    QList<HistorySlot> slots;
    // Its last event, and whether it has an end (its chain ended with none of
    // its tasks running, stopped, closed or interrupted) or is running or cut
    // off without a word.
    QDateTime lastEvent;
    bool ended = false;
    bool running = false;
    // The slot whose turn it was at its last event.
    int turn = 1;
    // What went wrong with its end e-mail's script once the pass was stored:
    // "exited with 1", "was killed by signal 9", "was still running when the
    // program ended"; empty when nothing did or none was sent.
    QString endEmailProblem;
    // A start by the schedule that could not run: no chain, only its reason.
    bool notRun = false;
};

// The id a pass's lines carry: its start, to the second with the offset,
// and the program's pid, "2026-12-07T02:00:11+01:00/4242".
QString passIdFor(const QDateTime& start, qint64 programPid);
// The start an id tells; invalid for one that tells none.
QDateTime passIdStart(QStringView id);

// How a pass started (a pass-started or scheduled-start-not-run event), as
// History says it.
QString passStartText(const JournalEvent& started);
// The result of a scheduled start that did not run, for its reason.
QString notRunText(const QString& reason);
// How a process ended: "exited with 3", "killed by signal 9".
QString processEndText(int exitCode, int signal);
// As the last-run text tells a task's end: "3", or "SIGNAL 9".
QString lastRunEndWord(int exitCode, int signal);

// How a pass started whose start line is missing.
inline const QString kUnknownStart = QStringLiteral("Unknown");

// The result of a pass that its program still runs.
inline const QString kPassRunning = QStringLiteral("RUNNING");

// The one account of passes: takes journal lines in batches, in order or
// from the end back, and tells the passes they hold, newest first.
//
// A line that names its pass belongs to that pass whatever came between;
// lines of an older journal, which name none, go to the pass begun before
// them, and the end of a process to the pass that started it. Lines that are
// not journal lines are passed over. A pass whose start line is missing (a
// full disk, a moved folder) is told from its other lines, unless it began
// before a pass in view: then it is an older pass whose start is out of view.
class PassAccount {
public:
    // Lines that follow those taken so far.
    void add(const QStringList& lines);
    void add(const JournalEntry& entry) { entries_.append(entry); }
    // Lines that come before those taken so far.
    void addEarlier(const QStringList& lines);

    // Whether a pass's start line is in view: what follows it is whole.
    bool holdsAPassStart() const { return holdsStart_; }
    // How many passes begin in view: whole passes, and starts that did not run.
    int passesBegun() const { return begun_; }
    bool isEmpty() const { return entries_.isEmpty(); }

    // A pass without an end is the one running now when `newestRunsNow`
    // and it is the newest that ran; otherwise it was interrupted.
    QList<HistoryPass> passes(bool newestRunsNow = false) const;

private:
    QList<JournalEntry> entries_;
    bool holdsStart_ = false;
    int begun_ = 0;
};

// The passes of journal lines or entries, newest first.
QList<HistoryPass> historyFromJournal(const QStringList& lines, bool newestRunsNow = false);
QList<HistoryPass> historyFromEntries(const QList<JournalEntry>& entries, bool newestRunsNow = false);
// The newest passes of a journal, read from its end back to the start of
// the newest pass (the kept older file included); the newest comes first.
QList<HistoryPass> newestPasses(const RunJournal& journal, bool newestRunsNow = false);

// The passes of a journal's end that hold at least `count` whole passes, or
// all of it when it holds fewer; newest first.
struct PassPage {
    QList<HistoryPass> passes;
    bool olderLeft = false; // the read stopped before the journal's start
};
// `stop`, when set, ends the read early (the window that wanted it closed).
PassPage newestPasses(const RunJournal& journal, int count, bool newestRunsNow, const std::atomic_bool* stop = nullptr);

} // namespace zb
