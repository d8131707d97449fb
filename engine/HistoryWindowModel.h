#pragma once

#include "PassAccount.h"
#include "core/Control.h"
#include "editors/EditorWindowModel.h"

#include <QDateTime>
#include <QList>
#include <functional>

namespace zb {

class Files;
class RunJournal;

// ZB_SEQUENTA_HISTORY: the last passes from the journal, newest first, with
// each slot's outcome, and the end of the output of the task picked. It reads
// the journal each time it opens and keeps no store of its own.
class HistoryWindowModel : public EditorWindowModel {
public:
    // `passRunsNow`: this program has a pass under way.
    HistoryWindowModel(Settings& settings, const RunJournal& journal, const Files& files, bool passRunsNow = false);

    // How much of a task's output the window shows.
    static constexpr int kOutputLines = 200;

    void Form_Load();
    // The view reports the row the user picked: a pass, and a slot of it or 0.
    void select(int pass, int slot);
    void OPEN_OUTPUT_BUTTON_Click();
    void OPEN_FOLDER_BUTTON_Click();
    void CLOSE_BUTTON_Click();

    const QList<HistoryPass>& passes() const { return passes_; }
    // The output file of the slot picked; empty when none is.
    QString selectedOutputFile() const;

    Label HISTORY_STATUS_LABEL;
    // What the output field shows, or why it shows nothing.
    Label TASK_OUTPUT_LABEL;
    TextField TASK_OUTPUT_TEXTBOX;
    Button OPEN_OUTPUT_BUTTON;
    Button OPEN_FOLDER_BUTTON;
    // Why a file or folder did not open; empty when all went well.
    Label OPEN_MESSAGE_LABEL;
    Button CLOSE_BUTTON;

    // Set by the view: open a file or folder with the desktop's own program;
    // false when no program could be asked to.
    std::function<bool(const QString& path)> openPath;

private:
    void showOutput();
    const HistorySlot* selectedSlot() const;
    void open(const QString& path, bool exists);

    const RunJournal& journal_;
    const Files& files_;
    bool passRunsNow_;
    QList<HistoryPass> passes_;
    int pass_ = -1;
    int slot_ = 0;
};

} // namespace zb
