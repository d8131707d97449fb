#pragma once

#include <QString>

namespace zb {

// The last-run text of a pass whose chain ended: "COMPLETED SUCCESSFULLY"
// when nothing went wrong, otherwise "COMPLETED WITH ERRORS - " and its
// first problem.
QString completedLastRun(const QString& firstProblem);

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
