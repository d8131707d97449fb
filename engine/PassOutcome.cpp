#include "PassOutcome.h"

#include "core/MainWindowModel.h"

namespace zb {

QString completedLastRun(const QString& firstProblem)
{
    if (firstProblem.isEmpty())
        return text::kCompletedSuccessfully;
    return text::kCompletedWithErrors + QStringLiteral(" - ") + firstProblem;
}

namespace problem {
QString taskFailedToStart(int n) { return QStringLiteral("TASK %1 FAILED TO START").arg(n); }
QString startEmailNotSent() { return QStringLiteral("START EMAIL NOT SENT"); }
QString endEmailNotSent() { return QStringLiteral("END EMAIL NOT SENT"); }
QString startEmailFailed() { return QStringLiteral("START EMAIL FAILED"); }
QString taskExitedWith(int n, const QString& how) { return QStringLiteral("TASK %1 EXITED WITH %2").arg(n).arg(how); }
QString taskTimedOut(int n) { return QStringLiteral("TASK %1 TIMED OUT").arg(n); }
} // namespace problem

QString interruptedLastRun(int turn) { return text::kInterrupted + QStringLiteral(" - TASK %1").arg(turn); }

} // namespace zb
