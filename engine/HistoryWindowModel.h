#pragma once

#include "PassAccount.h"
#include "core/Control.h"
#include "editors/EditorWindowModel.h"

#include <QDateTime>
#include <QList>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

class QObject;

namespace zb {

class Files;
class RunJournal;

// ZB_SEQUENTA_HISTORY: the last passes from the journal, newest first, with
// each slot's outcome, and the end of the output of the task picked. It reads
// the journal's end each time it opens, older passes when asked, and keeps no
// store of its own.
class HistoryWindowModel : public EditorWindowModel {
public:
    // `passRunsNow`: this program has a pass under way.
    HistoryWindowModel(Settings& settings, const RunJournal& journal, const Files& files, bool passRunsNow = false);
    ~HistoryWindowModel() override;

    // Read the journal on a thread of its own, the result handed back through
    // the Qt event loop of the thread that made the model; without it each
    // read is done before it returns.
    void readInBackground();
    // Passes read at first, enough for a screenful; each older read doubles it.
    static constexpr int kFirstPasses = 50;

    // How much of a task's output the window shows.
    static constexpr int kOutputLines = 200;

    void Form_Load();
    // The view reports the row the user picked: a pass, and a slot of it or 0.
    void select(int pass, int slot);
    void OPEN_OUTPUT_BUTTON_Click();
    void OPEN_FOLDER_BUTTON_Click();
    void LOAD_OLDER_BUTTON_Click();
    void CLOSE_BUTTON_Click();

    const QList<HistoryPass>& passes() const { return passes_; }
    // The row picked: a pass, -1 for none, and a slot of it or 0.
    int pickedPass() const { return pass_; }
    int pickedSlot() const { return slot_; }
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
    // Enabled while the journal holds passes before those read.
    Button LOAD_OLDER_BUTTON;
    Button CLOSE_BUTTON;

    // Set by the view: the passes read changed; those shown before keep their
    // places at the top.
    std::function<void()> passesChanged;

    // Set by the view: open a file or folder with the desktop's own program;
    // false when no program could be asked to.
    std::function<bool(const QString& path)> openPath;

private:
    void read(int count);
    void take(PassPage page, int count);
    void showStatus();
    void showOutput();
    const HistorySlot* selectedSlot() const;
    void open(const QString& path, bool exists);

    const RunJournal& journal_;
    const Files& files_;
    bool passRunsNow_;
    QList<HistoryPass> passes_;
    int pass_ = -1;
    int slot_ = 0;
    int asked_ = 0;
    bool olderLeft_ = false;
    bool reading_ = false;
    // The read aside: the thread, its stop, and where it hands its result.
    std::unique_ptr<QObject> inbox_;
    std::thread reader_;
    std::atomic_bool stop_ = false;
};

} // namespace zb
