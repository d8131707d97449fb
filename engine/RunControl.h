#pragma once

#include <optional>

#include "EmailBatch.h"
#include "RunJournal.h"
#include "core/Colour.h"

#include <QStringList>

namespace zb {

class ExecutableInfo;
class Files;
class Launcher;
class MainWindowModel;
class RunRecorder;
class TaskChain;

// The unattended start and finish of a run, the e-mail batch files they run,
// the run-time clock, and the last-run text with its time.
class RunControl {
public:
    // How long the program waits, once its window has closed, for an e-mail
    // script that is still sending, so that how it ended is journaled.
    static constexpr int kEmailGraceMs = 120'000;

    RunControl(MainWindowModel& main, TaskChain& chain, RunRecorder& recorder, Launcher& launcher, Files& files,
               const ExecutableInfo& exe);
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    // The autostart has fired: clock on, start e-mail, a pass from slot 1.
    void StartRunFromAutostart();
    // The autoclose has run out: end e-mail with the pass's report, the
    // pass's last-run text stored ("COMPLETED SUCCESSFULLY" when nothing went
    // wrong), the program closed.
    void FinishRunAndClose();
    // AUTOCLOSE_START_BUTTON has armed the autoclose by hand: only a pass
    // under way or begun from now on is reported when it runs out.
    void autocloseArmedByHand();
    // Nothing went wrong in the latest pass.
    bool passClean() const;
    // Starts the batch file of that kind hidden, with `arguments`, and
    // returns at once; it stays a child until it ends. A file that is missing
    // or cannot be started is reported in the status line and counts
    // against the pass.
    void RunEmailBatch(EmailBatch kind, const QStringList& arguments = QStringList());
    void RUNTIME_TIMER_Timer();

    // Shows a last-run text stamped with the time now.
    void showLastRun(const QString& text, Colour background);
    // The program closes: a pass under way is stored as interrupted.
    void programClosing();
    // At start-up: a journal whose newest pass has no end tells of a pass
    // cut short without a word, which is then stored as interrupted; an end
    // e-mail that failed is told in the last-run field's tip.
    void lookBack();
    // Once the window has gone: waits up to timeoutMs for the e-mail scripts
    // that still run, so that their ends are journaled.
    void awaitEmails(int timeoutMs);

private:
    void sendEndEmail(const QString& lastRun);
    void passBegins(PassStart how);
    void chainEnded();
    void passStopped(bool passRan);
    // The pass is over: the run clock stops and Settings opens again, unless
    // a countdown holds it.
    void passOver();
    void storeLastRun(const QString& text);
    void closeUnlessEditing();

    MainWindowModel& main_;
    TaskChain& chain_;
    RunRecorder& recorder_;
    Launcher& launcher_;
    Files& files_;
    const ExecutableInfo& exe_;
    // The pass that had ended when the autoclose was started by hand.
    std::optional<QString> toldAlready_;
};

} // namespace zb
