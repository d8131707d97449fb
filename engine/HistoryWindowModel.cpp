#include "HistoryWindowModel.h"

#include "ClockTexts.h"
#include "HistoryRows.h"
#include "PassOutcome.h"
#include "RunJournal.h"
#include "core/SlotArray.h"
#include "platform/Files.h"

#include <QFileInfo>
#include <algorithm>

namespace zb {

namespace {

using Kind = JournalEvent::Kind;

QString tookText(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString endText(const JournalEvent& e)
{
    const QString after = QStringLiteral(" after %1").arg(tookText(e.runMs / 1000));
    if (e.signal != 0)
        return QStringLiteral("ended by signal %1").arg(e.signal) + after;
    return QStringLiteral("exited with %1").arg(e.exitCode) + after;
}

// A pass being read.
struct Reading {
    HistoryPass pass;
    QString firstProblem;
    bool chainEnded = false;
    bool closed = false; // the autoclose stored its last-run text, which stands
};

HistorySlot& slotOf(HistoryPass& pass, int n)
{
    for (HistorySlot& s : pass.slots)
        if (s.slot == n)
            return s;
    pass.slots.append(HistorySlot{n, QString(), QString(), false});
    return pass.slots.last();
}

// What an outcome says of the slot's wait ("; waited 5 s"), kept when the
// task's end is told after it.
QString waitNote(const QString& outcome)
{
    const qsizetype at = outcome.indexOf(QLatin1String("; wait"));
    return at < 0 ? QString() : outcome.mid(at);
}

bool endedBadly(const JournalEvent& e) { return e.signal != 0 || e.exitCode != 0; }

// As the last-run text tells a task's end: "3", or "SIGNAL 9".
QString statusWord(const JournalEvent& e)
{
    return e.signal != 0 ? QStringLiteral("SIGNAL %1").arg(e.signal) : QString::number(e.exitCode);
}

void noteProblem(Reading& r, const QString& problem)
{
    if (!r.closed && r.firstProblem.isEmpty())
        r.firstProblem = problem;
}

void endPass(Reading& r, const QString& result)
{
    if (r.pass.ended)
        return;
    r.pass.ended = true;
    r.pass.result = result;
}

void applyEmail(Reading& r, const JournalEvent& e)
{
    const bool start = e.email == EmailBatch::Start;
    switch (e.kind) {
    case Kind::EmailMissing:
    case Kind::EmailFailed:
        noteProblem(r, start ? problem::startEmailNotSent() : problem::endEmailNotSent());
        break;
    case Kind::EmailEnded:
        if (!endedBadly(e))
            break;
        if (start)
            noteProblem(r, problem::startEmailFailed());
        else
            r.pass.endEmailProblem = e.signal != 0 ? QStringLiteral("was killed by signal %1").arg(e.signal)
                                                   : QStringLiteral("exited with %1").arg(e.exitCode);
        break;
    case Kind::EmailStillRunning:
        if (!start)
            r.pass.endEmailProblem = QStringLiteral("was still running when the program ended");
        break;
    default:
        break;
    }
}

void apply(Reading& r, const JournalEvent& e)
{
    HistoryPass& pass = r.pass;
    switch (e.kind) {
    case Kind::TaskSkipped: {
        HistorySlot& s = slotOf(pass, e.slot);
        s.outcome = e.reason.isEmpty() ? QStringLiteral("skipped") : QStringLiteral("skipped: ") + e.reason;
        s.skipped = true;
        pass.turn = e.slot + 1;
        break;
    }
    case Kind::TaskFailed:
        slotOf(pass, e.slot).outcome = QStringLiteral("failed to start: ") + e.reason;
        slotOf(pass, e.slot).failed = true;
        noteProblem(r, problem::taskFailedToStart(e.slot));
        pass.turn = e.slot + 1;
        break;
    case Kind::TaskStarted: {
        HistorySlot& s = slotOf(pass, e.slot);
        s.outcome = QStringLiteral("started, pid %1").arg(e.pid);
        if (e.file.isEmpty() && !e.reason.isEmpty())
            s.outcome += QStringLiteral("; output not kept: ") + e.reason;
        s.outputFile = e.file;
        s.failed = false;
        pass.turn = e.slot;
        break;
    }
    case Kind::WaitBegan:
        pass.turn = e.slot;
        break;
    case Kind::WaitEnded:
        slotOf(pass, e.slot).outcome += QStringLiteral("; waited %1 s").arg(e.seconds);
        pass.turn = e.slot + 1;
        break;
    case Kind::WaitStopped:
        slotOf(pass, e.slot).outcome += QStringLiteral("; wait stopped after %1 s").arg(e.seconds);
        break;
    case Kind::TaskTimedOut:
        slotOf(pass, e.slot).outcome += QStringLiteral("; wait timed out after ") + tookText(e.seconds);
        slotOf(pass, e.slot).failed = true;
        noteProblem(r, problem::taskTimedOut(e.slot));
        pass.turn = e.slot + 1;
        break;
    case Kind::TaskSignalled:
        slotOf(pass, e.slot).outcome +=
            (e.signal == 9 ? QStringLiteral(", SIGKILL") : QStringLiteral(", SIGTERM")) +
            (e.reason.isEmpty() ? QStringLiteral(" sent") : QStringLiteral(": ") + e.reason);
        break;
    case Kind::TaskExited: {
        HistorySlot& s = slotOf(pass, e.slot);
        const bool timedOut = s.outcome.contains(QLatin1String("; wait timed out"));
        s.outcome = endText(e) + waitNote(s.outcome);
        s.failed = timedOut || endedBadly(e);
        if (endedBadly(e) && !timedOut)
            noteProblem(r, problem::taskExitedWith(e.slot, statusWord(e)));
        break;
    }
    case Kind::TaskStillRunning: {
        HistorySlot& s = slotOf(pass, e.slot);
        s.outcome = QStringLiteral("still running at close") + waitNote(s.outcome);
        break;
    }
    case Kind::PassStopped:
        endPass(r, QStringLiteral("STOPPED"));
        break;
    case Kind::ChainEnded:
        r.chainEnded = !pass.ended;
        endPass(r, QString());
        break;
    case Kind::Autoclosed:
        // What was stored stands, also over an earlier end.
        pass.ended = true;
        pass.result = e.reason;
        r.closed = true;
        break;
    case Kind::PassInterrupted:
        endPass(r, interruptedLastRun(e.slot));
        break;
    case Kind::EmailMissing:
    case Kind::EmailFailed:
    case Kind::EmailEnded:
    case Kind::EmailStillRunning:
        applyEmail(r, e);
        break;
    case Kind::PassStarted:
    case Kind::ScheduledStart:
    case Kind::ScheduledStartNotRun:
    case Kind::EmailStarted:
        break;
    }
}

// Whether the event is news about a process that an earlier event started.
bool endsAProcess(Kind kind)
{
    return kind == Kind::TaskExited || kind == Kind::TaskStillRunning || kind == Kind::EmailEnded ||
           kind == Kind::EmailStillRunning || kind == Kind::TaskSignalled;
}

HistoryPass finished(const Reading& r, bool runsNow)
{
    HistoryPass p = r.pass;
    p.took = tookText(std::max<qint64>(0, p.started.secsTo(p.lastEvent)));
    if (!p.ended && runsNow) {
        p.running = true;
        p.result = kPassRunning;
    } else if (!p.ended) {
        p.result = interruptedLastRun(std::clamp(p.turn, 1, kSlotCount));
    } else if (r.chainEnded && !r.closed) {
        PassOutcome outcome;
        outcome.begin();
        if (!r.firstProblem.isEmpty())
            outcome.note(r.firstProblem);
        p.result = outcome.lastRunText();
    }
    if (!p.endEmailProblem.isEmpty())
        p.result += QStringLiteral("; end e-mail script ") + p.endEmailProblem;
    std::sort(p.slots.begin(), p.slots.end(),
              [](const HistorySlot& a, const HistorySlot& b) { return a.slot < b.slot; });
    return p;
}

} // namespace

QString passStartText(const JournalEvent& started)
{
    switch (started.start) {
    case PassStart::Autostart:
        return QStringLiteral("Autostart");
    case PassStart::Schedule: {
        const QString how =
            started.windowless ? QStringLiteral("By schedule, without a window") : QStringLiteral("By schedule");
        return started.reason.isEmpty() ? how : how + QStringLiteral(", ") + started.reason;
    }
    case PassStart::ByHand:
        break;
    }
    return started.kind == Kind::ScheduledStartNotRun ? QStringLiteral("By schedule") : QStringLiteral("By hand");
}

QString notRunText(const QString& reason) { return QStringLiteral("NOT RUN: ") + reason; }

QList<HistoryPass> historyFromEntries(const QList<JournalEntry>& entries, bool newestRunsNow)
{
    QList<Reading> read;
    // A process's end can come during a later pass: it belongs to the pass
    // that started it. The end of one that no pass in view started is passed over.
    QHash<qint64, int> passOfPid;
    // The pass that events belong to; a start that did not run has none.
    int current = -1;
    // The newest pass that ran: a start that did not run is never the one running now.
    int newest = -1;
    for (const JournalEntry& entry : entries) {
        const JournalEvent& e = entry.event;
        if (e.kind == Kind::PassStarted || e.kind == Kind::ScheduledStartNotRun) {
            Reading r;
            r.pass.started = entry.when;
            r.pass.how = passStartText(e);
            if (e.kind == Kind::ScheduledStartNotRun) {
                r.pass.ended = r.pass.notRun = true;
                r.pass.result = notRunText(e.reason);
            }
            r.pass.lastEvent = entry.when;
            read.append(r);
            if (e.kind == Kind::PassStarted)
                current = newest = static_cast<int>(read.size()) - 1;
            continue;
        }
        // A new start of the program: what follows is no longer the last pass's,
        // but for the word that it was found cut short.
        if (e.kind == Kind::ScheduledStart)
            current = -1;
        const bool foundAtStart = e.kind == Kind::PassInterrupted && e.reason == kInterruptionFoundAtStart;
        if (current < 0 && !(foundAtStart && newest >= 0))
            continue;
        int index = foundAtStart ? newest : current;
        if (e.kind == Kind::TaskStarted || e.kind == Kind::EmailStarted)
            passOfPid.insert(e.pid, index);
        if (endsAProcess(e.kind)) {
            // The end of a process whose start is not in the journal belongs
            // to no pass that can be told.
            if (!passOfPid.contains(e.pid))
                continue;
            index = e.kind == Kind::TaskStillRunning ? passOfPid.value(e.pid) : passOfPid.take(e.pid);
        }
        Reading& r = read[index];
        apply(r, e);
        // Found at the next start, it says nothing of how long the pass took.
        if (e.kind != Kind::PassInterrupted || e.reason != kInterruptionFoundAtStart)
            r.pass.lastEvent = std::max(r.pass.lastEvent, entry.when);
    }
    QList<HistoryPass> passes;
    for (qsizetype i = read.size() - 1; i >= 0; --i)
        passes.append(finished(read[i], newestRunsNow && i == newest));
    return passes;
}

QList<HistoryPass> historyFromJournal(const QStringList& lines, bool newestRunsNow)
{
    QList<JournalEntry> entries;
    entries.reserve(lines.size());
    for (const QString& line : lines)
        if (std::optional<JournalEntry> entry = parseJournalLine(line))
            entries.append(std::move(*entry));
    return historyFromEntries(entries, newestRunsNow);
}

HistoryWindowModel::HistoryWindowModel(Settings& settings, const RunJournal& journal, const Files& files,
                                       bool passRunsNow)
    : EditorWindowModel(settings, keys::HISTORY_WINDOW, QStringLiteral("ZB_SEQUENTA_HISTORY"),
                        QStringLiteral("ZB-SEQUENTA - History")),
      HISTORY_STATUS_LABEL(QStringLiteral("HISTORY_STATUS_LABEL"), QString()),
      TASK_OUTPUT_LABEL(QStringLiteral("TASK_OUTPUT_LABEL"), QString()),
      TASK_OUTPUT_TEXTBOX(QStringLiteral("TASK_OUTPUT_TEXTBOX"), QString()),
      OPEN_OUTPUT_BUTTON(QStringLiteral("OPEN_OUTPUT_BUTTON"), QStringLiteral("Open Task Output")),
      OPEN_FOLDER_BUTTON(QStringLiteral("OPEN_FOLDER_BUTTON"), QStringLiteral("Open Journal Folder")),
      OPEN_MESSAGE_LABEL(QStringLiteral("OPEN_MESSAGE_LABEL"), QString()),
      CLOSE_BUTTON(QStringLiteral("CLOSE_BUTTON"), QStringLiteral("Close")),
      journal_(journal),
      files_(files),
      passRunsNow_(passRunsNow)
{
    TASK_OUTPUT_TEXTBOX.setLocked(true);
    OPEN_OUTPUT_BUTTON.onClick = [this] { OPEN_OUTPUT_BUTTON_Click(); };
    OPEN_FOLDER_BUTTON.onClick = [this] { OPEN_FOLDER_BUTTON_Click(); };
    CLOSE_BUTTON.onClick = [this] { CLOSE_BUTTON_Click(); };
}

void HistoryWindowModel::Form_Load()
{
    loadGeometry();
    passes_ = historyFromJournal(journal_.readLines(), passRunsNow_);
    const QString file = journal_.journalFile();
    if (file.isEmpty())
        HISTORY_STATUS_LABEL.setCaption(QStringLiteral("This copy keeps no journal."));
    else if (passes_.isEmpty())
        HISTORY_STATUS_LABEL.setCaption(QStringLiteral("No passes yet in %1").arg(file));
    else
        HISTORY_STATUS_LABEL.setCaption(
            QStringLiteral("%1 in %2")
                .arg(countText(passes_.size(), QStringLiteral("pass"), QStringLiteral("passes")), file));
    OPEN_FOLDER_BUTTON.setEnabled(!file.isEmpty());
    select(-1, 0);
}

void HistoryWindowModel::select(int pass, int slot)
{
    pass_ = pass;
    slot_ = slot;
    // Older passes' output is pruned while the journal still names it.
    const QString file = selectedOutputFile();
    OPEN_OUTPUT_BUTTON.setEnabled(!file.isEmpty() && files_.exists(file));
    OPEN_MESSAGE_LABEL.setCaption(QString());
    showOutput();
}

void HistoryWindowModel::showOutput()
{
    const QString file = selectedOutputFile();
    TASK_OUTPUT_TEXTBOX.setText(QString());
    if (slot_ <= 0 || pass_ < 0) {
        TASK_OUTPUT_LABEL.setCaption(QStringLiteral("Pick a task to see the end of its output."));
        return;
    }
    const QString task = QStringLiteral("TASK %1").arg(slot_);
    if (file.isEmpty()) {
        TASK_OUTPUT_LABEL.setCaption(task + QStringLiteral(" kept no output in this pass."));
        return;
    }
    const FileText tail = files_.readTail(file, kOutputLines);
    if (!tail.ok) {
        TASK_OUTPUT_LABEL.setCaption(
            QStringLiteral("Cannot read the output of %1, %2: %3").arg(task, file, tail.error));
        return;
    }
    TASK_OUTPUT_TEXTBOX.setText(tail.text);
    if (tail.cut)
        TASK_OUTPUT_LABEL.setCaption(
            QStringLiteral("Output of %1, its last %2 lines: %3").arg(task).arg(kOutputLines).arg(file));
    else if (tail.text.isEmpty())
        TASK_OUTPUT_LABEL.setCaption(QStringLiteral("%1 wrote no output: %2").arg(task, file));
    else
        TASK_OUTPUT_LABEL.setCaption(QStringLiteral("Output of %1: %2").arg(task, file));
}

void HistoryWindowModel::open(const QString& path, bool exists)
{
    if (!exists)
        OPEN_MESSAGE_LABEL.setCaption(QStringLiteral("Cannot open %1: it is not there.").arg(path));
    else if (!openPath || !openPath(path))
        OPEN_MESSAGE_LABEL.setCaption(QStringLiteral("Cannot open %1: no program to open it with.").arg(path));
    else
        OPEN_MESSAGE_LABEL.setCaption(QString());
}

QString HistoryWindowModel::selectedOutputFile() const
{
    if (pass_ < 0 || pass_ >= passes_.size())
        return QString();
    for (const HistorySlot& s : passes_[pass_].slots)
        if (s.slot == slot_)
            return s.outputFile;
    return QString();
}

void HistoryWindowModel::OPEN_OUTPUT_BUTTON_Click()
{
    const QString file = selectedOutputFile();
    if (!file.isEmpty())
        open(file, files_.exists(file));
}

void HistoryWindowModel::OPEN_FOLDER_BUTTON_Click()
{
    const QString file = journal_.journalFile();
    if (file.isEmpty())
        return;
    const QString folder = QFileInfo(file).absolutePath();
    open(folder, files_.folderExists(folder));
}

void HistoryWindowModel::CLOSE_BUTTON_Click() { close(); }

} // namespace zb
