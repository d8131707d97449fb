#pragma once

#include "JournalText.h"
#include "core/Control.h"
#include "editors/EditorWindowModel.h"

#include <QDateTime>
#include <QList>
#include <functional>

namespace zb {

class Files;
class RunJournal;

// What became of one slot in a pass, as the journal tells it.
struct HistorySlot {
    int slot = 0;
    QString outcome;
    QString outputFile;
    bool failed = false; // failed to start, or its task ended badly
    bool skipped = false;
};

// One pass, as the journal tells it; a start by the schedule that could not
// run is a pass whose result says why.
struct HistoryPass {
    QDateTime started;
    QString how;    // "By hand", "Autostart", "By schedule" or "By schedule, without a window"
    QString took;   // from its start to its last event, "h:mm:ss"
    QString result; // the last-run text, or how it stopped; what became of the end e-mail after it
    QList<HistorySlot> slots;
    // Its last event, and whether it has an end (chain ended, stopped,
    // closed or interrupted) or is running or cut off without a word.
    QDateTime lastEvent;
    bool ended = false;
    bool running = false;
    // The slot whose turn it was at its last event.
    int turn = 1;
    // What went wrong with its end e-mail's script once the pass was stored:
    // "exited with 1", "was killed by signal 9", "was still running when the
    // program ended"; empty when nothing did or none was sent.
    QString endEmailProblem;
    // A start by the schedule that could not run: no chain, only its reason.
    bool notRun = false;
};

// How a pass started (a pass-started or scheduled-start-not-run event), as
// History says it.
QString passStartText(const JournalEvent& started);
// The result of a scheduled start that did not run, for its reason.
QString notRunText(const QString& reason);

// The result of a pass that its program still runs.
inline const QString kPassRunning = QStringLiteral("RUNNING");

// Reads the passes out of journal lines, newest first. Lines that are not
// journal lines, and events before the first pass, are passed over. A pass
// without an end is the one running now when `newestRunsNow` and it is the
// newest; otherwise it was interrupted.
QList<HistoryPass> historyFromJournal(const QStringList& lines, bool newestRunsNow = false);
QList<HistoryPass> historyFromEntries(const QList<JournalEntry>& entries, bool newestRunsNow = false);

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
    void open(const QString& path, bool exists);

    const RunJournal& journal_;
    const Files& files_;
    bool passRunsNow_;
    QList<HistoryPass> passes_;
    int pass_ = -1;
    int slot_ = 0;
};

} // namespace zb
