#include "HistoryWindowModel.h"

#include "HistoryRows.h"
#include "RunJournal.h"
#include "platform/Files.h"

#include <QFileInfo>

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
