#pragma once

#include <QString>

namespace zb {

// What went wrong in the current pass, so that its end is stored as it was:
// "COMPLETED SUCCESSFULLY" only when nothing did, otherwise
// "COMPLETED WITH ERRORS - " and the first problem.
class PassOutcome {
public:
    // A new pass: nothing has gone wrong in it yet.
    void begin();
    // Keeps the first problem of the pass; later ones are only counted.
    void note(const QString& problem);

    // Which pass is under way, so that news from an earlier one can be told apart.
    int pass() const { return pass_; }
    const QString& firstProblem() const { return first_; }
    int problems() const { return count_; }
    // The last-run text for the end of this pass.
    QString lastRunText() const;

private:
    int pass_ = 0;
    int count_ = 0;
    QString first_;
};

// The problems a pass can have, as they are stored after "COMPLETED WITH ERRORS - ".
namespace problem {
QString taskFailedToStart(int n);
QString startEmailNotSent();
QString endEmailNotSent();
// The start e-mail's script ended non-zero or by a signal.
QString startEmailFailed();
// `how` is the exit status ("3") or the signal ("SIGNAL 9").
QString taskExitedWith(int n, const QString& how);
// A wait on the task outlasted its time limit.
QString taskTimedOut(int n);
} // namespace problem

// How a pass came to be interrupted, as its journal line says.
inline const QString kInterruptionClosed = QStringLiteral("closed");
inline const QString kInterruptionSuperseded = QStringLiteral("superseded");
inline const QString kInterruptionFoundAtStart = QStringLiteral("found at start");

// The last-run text of a pass that did not end: "INTERRUPTED - TASK n", n
// being the slot whose turn it was.
QString interruptedLastRun(int turn);

} // namespace zb
