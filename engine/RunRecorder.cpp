#include "RunRecorder.h"

#include "core/MainWindowModel.h"
#include "platform/Launcher.h"

#include <QList>
#include <algorithm>
#include <utility>

namespace zb {

namespace {
using Kind = JournalEvent::Kind;
constexpr qint64 kNotWaiting = -1;

QString endText(const ProcessEnd& end)
{
    return end.signal != 0 ? QStringLiteral("SIGNAL %1").arg(end.signal) : QString::number(end.exitCode);
}
} // namespace

RunRecorder::RunRecorder(MainWindowModel& main, Launcher& launcher) : main_(main)
{
    waitSeconds_.fill(kNotWaiting);
    launcher.onEnded = [this](const ProcessEnd& end) { processEnded(end); };
}

void RunRecorder::scheduledStart(bool windowless, const QString& noDisplay)
{
    scheduledPending_ = true;
    windowless_ = windowless;
    record({.kind = Kind::ScheduledStart, .reason = noDisplay, .windowless = windowless});
}

void RunRecorder::beginPass(PassStart how)
{
    outcome_.begin();
    JournalEvent e;
    e.kind = Kind::PassStarted;
    e.start = how;
    if (how == PassStart::Autostart && scheduledPending_) {
        e.start = PassStart::Schedule;
        scheduledPending_ = false;
    }
    e.windowless = windowless_;
    record(e);
}

void RunRecorder::record(const JournalEvent& event)
{
    journal_->record(event);
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

void RunRecorder::taskLaunched(int n, const QString& command, const LaunchResult& result, const QString& outputFile)
{
    JournalEvent e;
    e.slot = n;
    e.command = command;
    if (!result.started) {
        e.kind = Kind::TaskFailed;
        e.reason = result.error;
        record(e);
        outcome_.note(problem::taskFailedToStart(n));
        return;
    }
    e.kind = Kind::TaskStarted;
    e.pid = result.pid;
    e.file = result.outputError.isEmpty() ? outputFile : QString();
    e.reason = result.outputError;
    if (result.pid != 0)
        tasks_.insert(result.pid, Task{n, outcome_.pass()});
    record(e);
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

void RunRecorder::processEnded(const ProcessEnd& end)
{
    const auto found = tasks_.constFind(end.pid);
    if (found == tasks_.cend())
        return; // an e-mail script, or a task of a journal-less start
    const Task task = *found;
    tasks_.erase(found);
    JournalEvent e;
    e.kind = Kind::TaskExited;
    e.slot = task.slot;
    e.pid = end.pid;
    e.exitCode = end.exitCode;
    e.signal = end.signal;
    e.runMs = end.runMs;
    record(e);
    // A task of an earlier pass does not count against this one.
    if ((end.signal != 0 || end.exitCode != 0) && task.pass == outcome_.pass())
        outcome_.note(problem::taskExitedWith(task.slot, endText(end)));
}

void RunRecorder::programClosing()
{
    QList<JournalEvent> running;
    for (auto it = tasks_.cbegin(); it != tasks_.cend(); ++it) {
        JournalEvent e;
        e.kind = Kind::TaskStillRunning;
        e.slot = it->slot;
        e.pid = it.key();
        running.append(e);
    }
    tasks_.clear();
    std::sort(running.begin(), running.end(), [](const JournalEvent& a, const JournalEvent& b) {
        return std::pair(a.slot, a.pid) < std::pair(b.slot, b.pid);
    });
    for (const JournalEvent& e : running)
        record(e);
}

} // namespace zb
