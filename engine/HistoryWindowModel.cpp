#include "HistoryWindowModel.h"

#include "HistoryRows.h"
#include "RunJournal.h"
#include "platform/Files.h"

#include <QFileInfo>
#include <QObject>

namespace zb {

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
      LOAD_OLDER_BUTTON(QStringLiteral("LOAD_OLDER_BUTTON"), QStringLiteral("Load Older Passes")),
      CLOSE_BUTTON(QStringLiteral("CLOSE_BUTTON"), QStringLiteral("Close")),
      journal_(journal),
      files_(files),
      passRunsNow_(passRunsNow)
{
    TASK_OUTPUT_TEXTBOX.setLocked(true);
    OPEN_OUTPUT_BUTTON.onClick = [this] { OPEN_OUTPUT_BUTTON_Click(); };
    OPEN_FOLDER_BUTTON.onClick = [this] { OPEN_FOLDER_BUTTON_Click(); };
    LOAD_OLDER_BUTTON.onClick = [this] { LOAD_OLDER_BUTTON_Click(); };
    LOAD_OLDER_BUTTON.setEnabled(false);
    CLOSE_BUTTON.onClick = [this] { CLOSE_BUTTON_Click(); };
}

HistoryWindowModel::~HistoryWindowModel()
{
    // What was read goes with the window; a read under way is dropped.
    stop_ = true;
    if (reader_.joinable())
        reader_.join();
}

void HistoryWindowModel::readInBackground()
{
    if (!inbox_)
        inbox_ = std::make_unique<QObject>();
}

void HistoryWindowModel::Form_Load()
{
    loadGeometry();
    OPEN_FOLDER_BUTTON.setEnabled(!journal_.journalFile().isEmpty());
    select(-1, 0);
    read(kFirstPasses);
}

void HistoryWindowModel::LOAD_OLDER_BUTTON_Click()
{
    if (olderLeft_ && !reading_)
        read(asked_ * 2);
}

// From the journal's end each time, so passes recorded since come in too;
// the cost stays that of the passes shown.
void HistoryWindowModel::read(int count)
{
    reading_ = true;
    asked_ = count;
    LOAD_OLDER_BUTTON.setEnabled(false);
    if (!inbox_) {
        take(newestPasses(journal_, count, passRunsNow_), count);
        return;
    }
    if (passes_.isEmpty())
        HISTORY_STATUS_LABEL.setCaption(QStringLiteral("Reading the journal..."));
    if (reader_.joinable())
        reader_.join(); // done: its result came in
    reader_ = std::thread([this, count] {
        PassPage page = newestPasses(journal_, count, passRunsNow_, &stop_);
        if (stop_)
            return;
        QMetaObject::invokeMethod(
            inbox_.get(), [this, page = std::move(page), count]() mutable { take(std::move(page), count); },
            Qt::QueuedConnection);
    });
}

void HistoryWindowModel::take(PassPage page, int count)
{
    reading_ = false;
    asked_ = count;
    olderLeft_ = page.olderLeft;
    // The pass picked stays picked, also when newer passes came in since.
    int picked = -1;
    if (pass_ >= 0 && pass_ < passes_.size()) {
        const HistoryPass& was = passes_[pass_];
        for (int i = 0; i < page.passes.size() && picked < 0; ++i)
            if (page.passes[i].id == was.id && page.passes[i].started == was.started)
                picked = i;
    }
    passes_ = std::move(page.passes);
    LOAD_OLDER_BUTTON.setEnabled(olderLeft_);
    showStatus();
    if (picked != pass_)
        select(picked, picked < 0 ? 0 : slot_);
    if (passesChanged)
        passesChanged();
}

void HistoryWindowModel::showStatus()
{
    const QString file = journal_.journalFile();
    const QString count = countText(passes_.size(), QStringLiteral("pass"), QStringLiteral("passes"));
    if (file.isEmpty())
        HISTORY_STATUS_LABEL.setCaption(QStringLiteral("This copy keeps no journal."));
    else if (passes_.isEmpty())
        HISTORY_STATUS_LABEL.setCaption(QStringLiteral("No passes yet in %1").arg(file));
    else if (olderLeft_)
        HISTORY_STATUS_LABEL.setCaption(
            QStringLiteral("The newest %1 in %2; the journal goes back further").arg(count, file));
    else
        HISTORY_STATUS_LABEL.setCaption(QStringLiteral("%1 in %2").arg(count, file));
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
    const HistorySlot* picked = selectedSlot();
    const QString task = slotLabel(slot_, picked != nullptr ? picked->name : QString());
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

const HistorySlot* HistoryWindowModel::selectedSlot() const
{
    if (pass_ < 0 || pass_ >= passes_.size())
        return nullptr;
    for (const HistorySlot& s : passes_[pass_].slots)
        if (s.slot == slot_)
            return &s;
    return nullptr;
}

QString HistoryWindowModel::selectedOutputFile() const
{
    const HistorySlot* picked = selectedSlot();
    return picked != nullptr ? picked->outputFile : QString();
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
