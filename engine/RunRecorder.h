#pragma once

#include "JournalText.h"
#include "RunJournal.h"
#include "core/SlotArray.h"
#include "platform/Launcher.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <array>
#include <functional>

namespace zb {

class Launcher;
class MainWindowModel;
struct LaunchResult;
struct ProcessEnd;

// Keeps the account of a run: reports its events to the journal, keeps the
// pass's problems for its last-run text and its events for its report, and
// follows the launched tasks and e-mail scripts to their end. A task that
// ends badly turns its light red, also after the chain has moved on. A
// journal that cannot be written is said once in the status line, and the
// History button warns with the reason until it is written again; the run
// goes on.
class RunRecorder {
public:
    RunRecorder(MainWindowModel& main, Launcher& launcher);
    RunRecorder(const RunRecorder&) = delete;
    RunRecorder& operator=(const RunRecorder&) = delete;

    // The time of day, for the stamps of a run's end and its report.
    std::function<QDateTime()> wallClock = [] { return QDateTime::currentDateTime(); };
    // This program's pid, part of each pass's id.
    qint64 programPid;

    void setJournal(RunJournal* journal) { journal_ = journal != nullptr ? journal : &nullJournal_; }
    const RunJournal& journal() const { return *journal_; }

    // Cron started this copy, with its window or without: its first
    // autostart pass is a pass by the schedule, and the start is journaled.
    // `noDisplay` says why there is no window; `caughtUp`, when the start at
    // boot runs a missed one, says which.
    void scheduledStart(bool windowless, const QString& noDisplay, const QString& caughtUp = QString());
    void beginPass(PassStart how);
    // An event of the pass under way, or of the program before its first pass.
    void record(const JournalEvent& event);
    // The last-run text of this pass as it stands: its first problem, or
    // how it was cut short.
    QString passResult() const;
    // The last-run text of this pass as its chain ended, its tasks that still
    // run aside.
    QString chainResult() const;
    // Begun, and not yet at its chain's end, stopped, closed or interrupted.
    bool passUnderWay() const { return underWay_; }
    // This program has begun a pass; its id.
    bool hasPass() const { return !passId_.isEmpty(); }
    const QString& passId() const { return passId_; }
    // This pass's events so far, stamped by the wall clock.
    const QList<JournalEntry>& passEntries() const { return entries_; }

    // The ends of a pass.
    void chainEnded();
    void passStopped();
    void passInterrupted(int turn, const QString& how);
    void passClosed(const QString& lastRun);
    // Found at start-up: the pass `id` of an earlier program has no end in
    // the journal. Either it was cut short at slot `turn`, or its end was
    // not journaled and `lastRun` is the result it stored.
    void earlierPassCutShort(const QString& id, int turn);
    void earlierPassEndFound(const QString& id, const QString& lastRun);

    QString taskOutputFile(int n) { return journal_->taskOutputFile(n); }
    void taskLaunched(int n, const QString& command, const LaunchResult& result, const QString& outputFile);
    // The pid of slot n's task of this pass while it runs; 0 otherwise.
    qint64 runningTask(int n) const { return slot(n).running ? slot(n).pid : 0; }
    // Slot n's task of this pass ended non-zero or by a signal, or the wait
    // on it timed out.
    bool taskFailed(int n) const { return slot(n).failed; }
    // The task slot n launched in this pass, running or not; 0 when none.
    qint64 launchedTask(int n) const { return slot(n).pid; }
    // Told when slot n's task of the pass under way ends non-zero or by a signal.
    std::function<void(int n)> onTaskFailed;
    // Slot n's task answered to the watched process name when it was
    // launched: it counts as that process until it ends, renamed or not.
    void taskAnswersToName(int n) { slot(n).answersToName = true; }
    bool taskAnsweredToName(int n) const { return slot(n).answersToName; }

    void emailStarted(EmailBatch kind, qint64 pid, const QString& script);
    // The e-mail scripts that still run, oldest first.
    QList<qint64> runningEmails() const;

    void waitBegan(int n, const QString& name);
    void waitGoesOn(int n);
    void waitEnded(int n, bool stopped);
    bool waiting(int n) const { return waitSeconds_[static_cast<std::size_t>(n)] >= 0; }
    // The checks slot n's wait has gone on for; 0 when it does not wait.
    qint64 waitSeconds(int n) const { return std::max<qint64>(0, waitSeconds_[static_cast<std::size_t>(n)]); }
    // The wait on slot n has outlasted its time limit at this check: it
    // ends, and counts against the pass.
    void waitTimedOut(int n);
    // A signal went to the group of slot n's task `pid`, or found nothing to reach.
    void taskSignalled(int n, qint64 pid, StopSignal signal, bool reached);

    // The program closes: the tasks that still run are said to go on; their
    // ends are still recorded while the program lives.
    void programClosing();
    // The program ends: the e-mail scripts that still run are said to go on.
    void programEnding();

private:
    struct Task {
        int slot = 0;
        QString pass;
        bool saidRunning = false;
    };
    struct Email {
        EmailBatch kind = EmailBatch::Start;
        QString pass;
    };
    struct SlotTask {
        qint64 pid = 0;
        bool running = false;
        bool failed = false;
        bool answersToName = false;
        bool timedOut = false;
    };

    // `aside`: not an event of this program's passes (its start, or word of
    // an earlier program's pass).
    void write(const JournalEvent& event, const QString& pass, bool aside = false);
    void processEnded(const ProcessEnd& end);
    void taskEnded(const Task& task, const ProcessEnd& end);
    void emailEnded(const Email& email, const ProcessEnd& end);
    const SlotTask& slot(int n) const { return slots_[static_cast<std::size_t>(n)]; }
    SlotTask& slot(int n) { return slots_[static_cast<std::size_t>(n)]; }

    MainWindowModel& main_;
    NullRunJournal nullJournal_;
    RunJournal* journal_ = &nullJournal_;
    QString passId_;
    QString lastBase_;
    int passesInSecond_ = 0;
    bool underWay_ = false;
    QList<JournalEntry> entries_;
    QHash<qint64, Task> tasks_;
    QHash<qint64, Email> emails_;
    std::array<SlotTask, kSlotCount + 1> slots_{};
    std::array<qint64, kSlotCount + 1> waitSeconds_;
    QString failureShown_;
    bool scheduledPending_ = false;
    QString caughtUp_;
    bool windowless_ = false;
};

} // namespace zb
