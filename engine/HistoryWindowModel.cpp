#include "HistoryWindowModel.h"

#include "ClockTexts.h"
#include "HistoryRows.h"
#include "RunJournal.h"
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

// A pass being read, with where each pid's slot sits.
struct Reading {
    HistoryPass pass;
    QDateTime last;
};

HistorySlot& slotOf(HistoryPass& pass, int n)
{
    for (HistorySlot& s : pass.slots)
        if (s.slot == n)
            return s;
    pass.slots.append(HistorySlot{n, QString(), QString()});
    return pass.slots.last();
}

void apply(HistoryPass& pass, const JournalEvent& e)
{
    switch (e.kind) {
    case Kind::TaskSkipped: {
        HistorySlot& s = slotOf(pass, e.slot);
        s.outcome = QStringLiteral("skipped");
        s.skipped = true;
        break;
    }
    case Kind::TaskFailed:
        slotOf(pass, e.slot).outcome = QStringLiteral("failed to start: ") + e.reason;
        if (pass.result.isEmpty())
            pass.result = QStringLiteral("TASK %1 FAILED TO START").arg(e.slot);
        break;
    case Kind::TaskStarted: {
        HistorySlot& s = slotOf(pass, e.slot);
        s.outcome = QStringLiteral("started, pid %1").arg(e.pid);
        if (e.file.isEmpty() && !e.reason.isEmpty())
            s.outcome += QStringLiteral("; output not kept: ") + e.reason;
        s.outputFile = e.file;
        break;
    }
    case Kind::WaitEnded:
        slotOf(pass, e.slot).outcome += QStringLiteral("; waited %1 s").arg(e.seconds);
        break;
    case Kind::WaitStopped:
        slotOf(pass, e.slot).outcome += QStringLiteral("; wait stopped after %1 s").arg(e.seconds);
        break;
    case Kind::TaskExited:
        slotOf(pass, e.slot).outcome = endText(e);
        break;
    case Kind::TaskStillRunning:
        slotOf(pass, e.slot).outcome = QStringLiteral("still running at close");
        break;
    case Kind::PassStopped:
        pass.result = QStringLiteral("STOPPED");
        break;
    case Kind::ChainEnded:
        if (pass.result.isEmpty())
            pass.result = QStringLiteral("CHAIN ENDED");
        break;
    case Kind::Autoclosed:
        pass.result = e.reason;
        break;
    case Kind::PassStarted:
    case Kind::ScheduledStart:
    case Kind::ScheduledStartNotRun:
    case Kind::WaitBegan:
    case Kind::EmailStarted:
    case Kind::EmailMissing:
    case Kind::EmailFailed:
        break;
    }
}

} // namespace

QString passStartText(const JournalEvent& started)
{
    switch (started.start) {
    case PassStart::Autostart:
        return QStringLiteral("Autostart");
    case PassStart::Schedule:
        return started.windowless ? QStringLiteral("By schedule, without a window") : QStringLiteral("By schedule");
    case PassStart::ByHand:
        break;
    }
    return started.kind == Kind::ScheduledStartNotRun ? QStringLiteral("By schedule") : QStringLiteral("By hand");
}

QString notRunText(const QString& reason) { return QStringLiteral("NOT RUN: ") + reason; }

QList<HistoryPass> historyFromJournal(const QStringList& lines)
{
    QList<Reading> read;
    // A task's end can come during a later pass: it belongs to the pass that started it.
    QHash<qint64, int> passOfPid;
    // The pass that events belong to; a start that did not run has none.
    int current = -1;
    for (const QString& line : lines) {
        const std::optional<JournalEntry> entry = parseJournalLine(line);
        if (!entry)
            continue;
        const JournalEvent& e = entry->event;
        if (e.kind == Kind::PassStarted || e.kind == Kind::ScheduledStartNotRun) {
            Reading r;
            r.pass.started = entry->when;
            r.pass.how = passStartText(e);
            if (e.kind == Kind::ScheduledStartNotRun)
                r.pass.result = notRunText(e.reason);
            r.last = entry->when;
            read.append(r);
            if (e.kind == Kind::PassStarted)
                current = static_cast<int>(read.size()) - 1;
            continue;
        }
        // A new start of the program: what follows is no longer the last pass's.
        if (e.kind == Kind::ScheduledStart)
            current = -1;
        if (current < 0)
            continue;
        int index = current;
        if (e.kind == Kind::TaskStarted)
            passOfPid.insert(e.pid, index);
        if (e.kind == Kind::TaskExited || e.kind == Kind::TaskStillRunning) {
            // The end of a task whose start is not in the journal belongs to
            // no pass that can be told.
            if (!passOfPid.contains(e.pid))
                continue;
            index = passOfPid.take(e.pid);
        }
        Reading& r = read[index];
        apply(r.pass, e);
        r.last = std::max(r.last, entry->when);
    }
    QList<HistoryPass> passes;
    for (auto it = read.crbegin(); it != read.crend(); ++it) {
        HistoryPass p = it->pass;
        p.took = tookText(std::max<qint64>(0, p.started.secsTo(it->last)));
        if (p.result.isEmpty())
            p.result = QStringLiteral("NOT FINISHED");
        std::sort(p.slots.begin(), p.slots.end(),
                  [](const HistorySlot& a, const HistorySlot& b) { return a.slot < b.slot; });
        passes.append(p);
    }
    return passes;
}

HistoryWindowModel::HistoryWindowModel(Settings& settings, const RunJournal& journal, const Files& files)
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
      files_(files)
{
    TASK_OUTPUT_TEXTBOX.setLocked(true);
    OPEN_OUTPUT_BUTTON.onClick = [this] { OPEN_OUTPUT_BUTTON_Click(); };
    OPEN_FOLDER_BUTTON.onClick = [this] { OPEN_FOLDER_BUTTON_Click(); };
    CLOSE_BUTTON.onClick = [this] { CLOSE_BUTTON_Click(); };
}

void HistoryWindowModel::Form_Load()
{
    loadGeometry();
    passes_ = historyFromJournal(journal_.readLines());
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
