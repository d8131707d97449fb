#include "PassOutcome.h"

#include "core/MainWindowModel.h"

namespace zb {

void PassOutcome::begin()
{
    ++pass_;
    count_ = 0;
    first_.clear();
}

void PassOutcome::note(const QString& problem)
{
    if (count_++ == 0)
        first_ = problem;
}

QString PassOutcome::lastRunText() const
{
    if (count_ == 0)
        return text::kCompletedSuccessfully;
    return text::kCompletedWithErrors + QStringLiteral(" - ") + first_;
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
