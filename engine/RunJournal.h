#pragma once

#include "EmailBatch.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace zb {

// How a pass was started: Schedule is the autostart of a copy that cron
// started.
enum class PassStart { ByHand, Autostart, Schedule };

// One thing that happened in a run, as the engine reports it. Which fields
// mean something depends on the kind; the rest keep their defaults.
struct JournalEvent {
    enum class Kind {
        PassStarted,          // start, windowless; reason: how a start at boot caught up a missed one
        PassStopped,          // STOP pressed
        TaskSkipped,          // slot, reason: why, when not simply disabled
        TaskStarted,          // slot, pid, command, file (its output), name (the slot's own, if any)
        TaskFailed,           // slot, command, reason, name
        WaitBegan,            // slot, name
        WaitEnded,            // slot, seconds
        WaitStopped,          // slot, seconds
        EmailStarted,         // email, file, pid
        EmailMissing,         // email, file
        EmailFailed,          // email, file, reason
        ChainEnded,           //
        Autoclosed,           // reason: the last-run text stored
        TaskExited,           // slot, pid, exitCode or signal, runMs
        TaskStillRunning,     // slot, pid: the program closes, the task goes on
        ScheduledStart,       // windowless, reason (why there is no display; with a window, how a start
                              // at boot caught up a missed one): cron started this copy
        ScheduledStartNotRun, // reason: cron started this copy, which could not run
        EmailEnded,           // email, pid, exitCode or signal, runMs
        EmailStillRunning,    // email, pid: the program ends, the script goes on
        PassInterrupted,      // slot: whose turn it was; reason: "closed" or "found at start"
        PassEndFound,         // reason: the last-run text stored for a pass whose end was not journaled
        TaskTimedOut,         // slot, seconds: the wait on it outlasted its time limit
        TaskSignalled,        // slot, pid, signal: sent to the task's group; reason when nothing got it
    };

    Kind kind = Kind::PassStarted;
    PassStart start = PassStart::ByHand;
    EmailBatch email = EmailBatch::Start;
    int slot = 0;
    qint64 pid = 0;
    int exitCode = 0;
    int signal = 0; // non-zero: a signal ended the process
    qint64 seconds = 0;
    qint64 runMs = 0;
    QString command{};
    QString name{};
    QString reason{};
    QString file{};
    // PassStarted, ScheduledStart: the copy runs without a window.
    bool windowless = false;

    bool operator==(const JournalEvent&) const = default;
};

// Where the engine reports what happens in a run. The journal stamps each
// event with the time; it never stops a run, whatever becomes of its file.
class RunJournal {
public:
    virtual ~RunJournal() = default;

    // `pass`: the id of the pass the event belongs to; empty for one of the
    // program that belongs to no pass (a scheduled start).
    virtual void record(const JournalEvent& event, const QString& pass = QString()) = 0;
    // The file that slot n's output goes to in the pass under way; empty
    // when the output is not kept.
    virtual QString taskOutputFile(int n) = 0;
    // Why the journal could not be written; empty while all is well.
    virtual QString failure() const = 0;

    // The journal's file, and its lines, oldest first (the kept older file
    // included); empty for a journal that keeps none.
    virtual QString journalFile() const { return QString(); }
    virtual QStringList readLines() const { return QStringList(); }
    // The lines from the newest back, a batch at a time, each batch oldest
    // first, until `take` returns false or the lines run out.
    using LineBatches = std::function<bool(const QStringList& batch)>;
    virtual void readBackward(const LineBatches& take) const;
};

// A journal that keeps nothing, for a program without one.
class NullRunJournal : public RunJournal {
public:
    void record(const JournalEvent&, const QString& = QString()) override {}
    QString taskOutputFile(int) override { return QString(); }
    QString failure() const override { return QString(); }
};

} // namespace zb
