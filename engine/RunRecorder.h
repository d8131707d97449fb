#pragma once

#include "PassOutcome.h"
#include "RunJournal.h"
#include "core/SlotArray.h"

#include <QDateTime>
#include <QHash>
#include <array>
#include <functional>

namespace zb {

class Launcher;
class MainWindowModel;
struct LaunchResult;
struct ProcessEnd;

// Keeps the account of a run: reports its events to the journal, keeps the
// pass's problems for its last-run text, and follows the launched tasks to
// their end. A journal that cannot be written is said once in the status
// line, and the History button warns with the reason until it is written
// again; the run goes on.
class RunRecorder {
public:
    RunRecorder(MainWindowModel& main, Launcher& launcher);
    RunRecorder(const RunRecorder&) = delete;
    RunRecorder& operator=(const RunRecorder&) = delete;

    // The time of day, for the stamp of a run's end.
    std::function<QDateTime()> wallClock = [] { return QDateTime::currentDateTime(); };

    void setJournal(RunJournal* journal) { journal_ = journal != nullptr ? journal : &nullJournal_; }
    const RunJournal& journal() const { return *journal_; }

    // Cron started this copy, with its window or without: its first
    // autostart pass is a pass by the schedule, and the start is journaled.
    // `noDisplay` says why there is no window.
    void scheduledStart(bool windowless, const QString& noDisplay);
    void beginPass(PassStart how);
    void record(const JournalEvent& event);
    void problem(const QString& text) { outcome_.note(text); }
    const PassOutcome& outcome() const { return outcome_; }

    QString taskOutputFile(int n) { return journal_->taskOutputFile(n); }
    void taskLaunched(int n, const QString& command, const LaunchResult& result, const QString& outputFile);

    void waitBegan(int n, const QString& name);
    void waitGoesOn(int n);
    void waitEnded(int n, bool stopped);
    bool waiting(int n) const { return waitSeconds_[static_cast<std::size_t>(n)] >= 0; }

    // The program closes: the tasks that still run are said to go on.
    void programClosing();

private:
    struct Task {
        int slot = 0;
        int pass = 0;
    };
    void processEnded(const ProcessEnd& end);

    MainWindowModel& main_;
    NullRunJournal nullJournal_;
    RunJournal* journal_ = &nullJournal_;
    PassOutcome outcome_;
    QHash<qint64, Task> tasks_;
    std::array<qint64, kSlotCount + 1> waitSeconds_;
    QString failureShown_;
    bool scheduledPending_ = false;
    bool windowless_ = false;
};

} // namespace zb
