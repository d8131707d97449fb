#include "RunRecorder.h"

#include "ClockTexts.h"
#include "PassAccount.h"
#include "PassOutcome.h"
#include "core/MainWindowModel.h"
#include "platform/Launcher.h"

#include <QCoreApplication>
#include <QList>
#include <algorithm>
#include <utility>

namespace zb {

namespace {
using Kind = JournalEvent::Kind;
constexpr qint64 kNotWaiting = -1;

bool endedBadly(const ProcessEnd& end) { return end.signal != 0 || end.exitCode != 0; }
} // namespace

RunRecorder::RunRecorder(MainWindowModel& main, Launcher& launcher)
    : programPid(QCoreApplication::applicationPid()),
      main_(main)
{
    waitSeconds_.fill(kNotWaiting);
    launcher.onEnded = [this](const ProcessEnd& end) { processEnded(end); };
}

void RunRecorder::scheduledStart(bool windowless, const QString& noDisplay, const QString& caughtUp)
{
    scheduledPending_ = true;
    windowless_ = windowless;
    caughtUp_ = caughtUp;
    // With its window, a start at boot tells what it catches up even when no pass follows.
    write({.kind = Kind::ScheduledStart, .reason = windowless ? noDisplay : caughtUp, .windowless = windowless},
          QString(), true);
}

void RunRecorder::beginPass(PassStart how)
{
    // Two passes begun within a second still get ids of their own.
    const QString base = passIdFor(wallClock(), programPid);
    passesInSecond_ = base == lastBase_ ? passesInSecond_ + 1 : 1;
    lastBase_ = base;
    passId_ = passesInSecond_ == 1 ? base : base + QLatin1Char('/') + QString::number(passesInSecond_);
    underWay_ = true;
    entries_.clear();
    slots_.fill(SlotTask{});
    JournalEvent e;
    e.kind = Kind::PassStarted;
    e.start = how;
    if (how == PassStart::Autostart && scheduledPending_) {
        e.start = PassStart::Schedule;
        e.reason = caughtUp_;
        scheduledPending_ = false;
    }
    e.windowless = windowless_;
    record(e);
}

void RunRecorder::record(const JournalEvent& event) { write(event, passId_); }

QString RunRecorder::passResult() const
{
    // Without a pass (the autoclose started by hand), only what the program
    // did itself counts.
    QList<JournalEntry> entries = entries_;
    if (!hasPass()) {
        entries.prepend({wallClock(), {.kind = Kind::ChainEnded}, {}});
        entries.prepend({wallClock(), {.kind = Kind::PassStarted}, {}});
    }
    const QList<HistoryPass> passes = historyFromEntries(entries);
    return passes.isEmpty() ? QString() : passes.first().result;
}

QString RunRecorder::chainResult() const
{
    const QList<HistoryPass> passes = historyFromEntries(entries_);
    return passes.isEmpty() ? QString() : passes.first().chainResult;
}

void RunRecorder::write(const JournalEvent& event, const QString& pass, bool aside)
{
    if (pass == passId_ && !aside)
        entries_.append(JournalEntry{wallClock(), event, pass});
    journal_->record(event, pass);
    const QString failure = journal_->failure();
    if (failure == failureShown_)
        return;
    // The status line says it once; the History button warns until the
    // journal is written again.
    if (failure.isEmpty()) {
        main_.HISTORY_BUTTON.setCaption(text::kHistory);
        main_.HISTORY_BUTTON.setToolTip(text::kHistoryToolTip);
    } else {
        const QString said = QStringLiteral("RUN JOURNAL NOT WRITTEN - ") + failure;
        main_.CURRENT_STATUS_LABEL.setCaption(said);
        main_.HISTORY_BUTTON.setCaption(text::kHistory + QStringLiteral(" (!)"));
        main_.HISTORY_BUTTON.setToolTip(said);
    }
    failureShown_ = failure;
}

void RunRecorder::chainEnded()
{
    underWay_ = false;
    record({.kind = Kind::ChainEnded});
    // A task that still runs shows it, rather than seem done.
    for (int n = 1; n <= kSlotCount; ++n) {
        if (!slot(n).running)
            continue;
        main_.TASK_LIGHT[n].setBackground(colour::Cyan);
        main_.TASK_LIGHT[n].setToolTip(QStringLiteral("still running, pid %1").arg(slot(n).pid));
    }
}

void RunRecorder::passStopped()
{
    // A stop after the chain's end leaves the pass as it ended.
    if (!underWay_)
        return;
    underWay_ = false;
    record({.kind = Kind::PassStopped});
}

void RunRecorder::passInterrupted(int turn, const QString& how)
{
    underWay_ = false;
    record({.kind = Kind::PassInterrupted, .slot = turn, .reason = how});
}

void RunRecorder::passClosed(const QString& lastRun)
{
    underWay_ = false;
    record({.kind = Kind::Autoclosed, .reason = lastRun});
}

void RunRecorder::earlierPassCutShort(const QString& id, int turn)
{
    write({.kind = Kind::PassInterrupted, .slot = turn, .reason = kInterruptionFoundAtStart}, id, true);
}

void RunRecorder::earlierPassEndFound(const QString& id, const QString& lastRun)
{
    write({.kind = Kind::PassEndFound, .reason = lastRun}, id, true);
}

void RunRecorder::taskLaunched(int n, const QString& command, const LaunchResult& result, const QString& outputFile)
{
    JournalEvent e;
    e.slot = n;
    e.command = command;
    // The slot's own name, when it was given one.
    const QString name = main_.TASK_ENABLE_TICKBOX[n].caption().trimmed();
    if (name != QStringLiteral("TASK %1").arg(n))
        e.name = name;
    if (!result.started) {
        e.kind = Kind::TaskFailed;
        e.reason = result.error;
        record(e);
        return;
    }
    e.kind = Kind::TaskStarted;
    e.pid = result.pid;
    e.file = result.outputError.isEmpty() ? outputFile : QString();
    e.reason = result.outputError;
    if (result.pid != 0) {
        tasks_.insert(result.pid, Task{n, passId_});
        slot(n) = SlotTask{result.pid, true, false, false};
    }
    record(e);
}

void RunRecorder::emailStarted(EmailBatch kind, qint64 pid, const QString& script)
{
    if (pid != 0)
        emails_.insert(pid, Email{kind, passId_});
    record({.kind = Kind::EmailStarted, .email = kind, .pid = pid, .file = script});
}

QList<qint64> RunRecorder::runningEmails() const
{
    QList<qint64> pids = emails_.keys();
    std::sort(pids.begin(), pids.end());
    return pids;
}

void RunRecorder::waitBegan(int n, const QString& name)
{
    waitSeconds_[static_cast<std::size_t>(n)] = 0;
    JournalEvent e;
    e.kind = Kind::WaitBegan;
    e.slot = n;
    e.name = name;
    record(e);
}

void RunRecorder::waitGoesOn(int n)
{
    // Each check is one tick of a one-second timer.
    if (waiting(n))
        ++waitSeconds_[static_cast<std::size_t>(n)];
}

void RunRecorder::waitEnded(int n, bool stopped)
{
    if (!waiting(n))
        return;
    JournalEvent e;
    e.kind = stopped ? Kind::WaitStopped : Kind::WaitEnded;
    e.slot = n;
    e.seconds = waitSeconds_[static_cast<std::size_t>(n)] + (stopped ? 0 : 1);
    waitSeconds_[static_cast<std::size_t>(n)] = kNotWaiting;
    record(e);
}

void RunRecorder::waitTimedOut(int n)
{
    if (!waiting(n))
        return;
    const qint64 seconds = waitSeconds(n) + 1;
    waitSeconds_[static_cast<std::size_t>(n)] = kNotWaiting;
    slot(n).failed = slot(n).timedOut = true;
    record({.kind = Kind::TaskTimedOut, .slot = n, .seconds = seconds});
    TextField& light = main_.TASK_LIGHT[n];
    light.setBackground(colour::Red);
    light.setToolTip(QStringLiteral("timed out after ") + durationText(seconds));
}

void RunRecorder::taskSignalled(int n, qint64 pid, StopSignal signal, bool reached)
{
    record({.kind = Kind::TaskSignalled,
            .slot = n,
            .pid = pid,
            .signal = signal == StopSignal::Kill ? 9 : 15,
            .reason = reached ? QString() : QStringLiteral("no process left in its group")});
}

void RunRecorder::processEnded(const ProcessEnd& end)
{
    if (const auto task = tasks_.constFind(end.pid); task != tasks_.cend()) {
        const Task t = *task;
        tasks_.erase(task);
        taskEnded(t, end);
    } else if (const auto email = emails_.constFind(end.pid); email != emails_.cend()) {
        const Email m = *email;
        emails_.erase(email);
        emailEnded(m, end);
    }
}

void RunRecorder::taskEnded(const Task& task, const ProcessEnd& end)
{
    const bool thisPass = task.pass == passId_;
    JournalEvent e;
    e.kind = Kind::TaskExited;
    e.slot = task.slot;
    e.pid = end.pid;
    e.exitCode = end.exitCode;
    e.signal = end.signal;
    e.runMs = end.runMs;
    write(e, task.pass);
    // A task of an earlier pass does not count against this one, nor does
    // its end repaint a light that this pass owns now.
    if (!thisPass)
        return;
    SlotTask& s = slot(task.slot);
    if (s.pid == end.pid)
        s.running = false;
    TextField& light = main_.TASK_LIGHT[task.slot];
    if (s.timedOut && s.pid == end.pid) {
        // The time-out stays the news; how the task then ended follows it.
        light.setToolTip(light.toolTip() + QStringLiteral(", then ") + processEndText(end.exitCode, end.signal));
    } else if (endedBadly(end)) {
        s.failed = s.pid == end.pid;
        light.setBackground(colour::Red);
        light.setToolTip(processEndText(end.exitCode, end.signal));
        if (s.failed && underWay_ && onTaskFailed)
            onTaskFailed(task.slot);
    } else if (!underWay_ && light.background() == colour::Cyan) {
        // Still running when the chain ended; done now.
        light.setBackground(colour::Green);
        light.setToolTip(QString());
    }
}

void RunRecorder::emailEnded(const Email& email, const ProcessEnd& end)
{
    write({.kind = Kind::EmailEnded,
           .email = email.kind,
           .pid = end.pid,
           .exitCode = end.exitCode,
           .signal = end.signal,
           .runMs = end.runMs},
          email.pass);
}

void RunRecorder::programClosing()
{
    QList<std::pair<qint64, Task*>> running;
    for (auto it = tasks_.begin(); it != tasks_.end(); ++it)
        if (!it->saidRunning)
            running.append({it.key(), &*it});
    std::sort(running.begin(), running.end(), [](const auto& a, const auto& b) {
        return std::pair(a.second->slot, a.first) < std::pair(b.second->slot, b.first);
    });
    for (auto& [pid, task] : running) {
        task->saidRunning = true;
        write({.kind = Kind::TaskStillRunning, .slot = task->slot, .pid = pid}, task->pass);
    }
}

void RunRecorder::programEnding()
{
    for (qint64 pid : runningEmails())
        write({.kind = Kind::EmailStillRunning, .email = emails_.value(pid).kind, .pid = pid}, emails_.value(pid).pass);
    emails_.clear();
}

} // namespace zb
