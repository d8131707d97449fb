#include "ScheduledStart.h"

#include "CommandLine.h"
#include "Program.h"
#include "schedule/CronEntry.h"

namespace zb {

bool takeScheduledStartMark()
{
    const char* name = schedule::kScheduledStartVariable;
    const bool scheduled = qEnvironmentVariable(name) == QLatin1String("1");
    qunsetenv(name);
    return scheduled;
}

QString takeUnusableDisplayMark()
{
    const QString why = qEnvironmentVariable(kUnusableDisplayVariable);
    qunsetenv(kUnusableDisplayVariable);
    return why;
}

JournalEvent StartRefusal::record() const
{
    return {.kind = JournalEvent::Kind::ScheduledStartNotRun, .reason = reason};
}

StartRefusal claimRefusal(const QString& lockProblem)
{
    if (lockProblem.isEmpty())
        return {StartRefusal::Kind::OtherCopyRuns, QStringLiteral("another copy of the same name was running")};
    return {StartRefusal::Kind::LockUnsafe,
            QStringLiteral("one copy per name cannot be made sure: %1").arg(lockProblem)};
}

StartPlan planStart(bool scheduled, bool autostartTicked, const QString& noDisplay, const QString& programName)
{
    StartPlan plan;
    if (noDisplay.isEmpty())
        return plan;
    if (scheduled && autostartTicked) {
        plan.mode = StartMode::Windowless;
        plan.stderrText = QStringLiteral("%1: no display: %2; started by the schedule with AutoStart Timer ticked, it "
                                         "runs its chain without a window and closes after it\n")
                              .arg(programName, noDisplay);
        return plan;
    }
    plan.mode = StartMode::NotRun;
    plan.stderrText = noDisplayText(programName, noDisplay);
    plan.refusal = {StartRefusal::Kind::NoDisplay,
                    scheduled ? QStringLiteral("no display: %1; AutoStart Timer is clear").arg(noDisplay)
                              : QStringLiteral("no display: %1").arg(noDisplay)};
    if (scheduled)
        plan.record = plan.refusal.record();
    return plan;
}

void applyStartOptions(Program& program, const StartOptions& options)
{
    if (options.scheduled)
        program.engine.recorder().scheduledStart(options.windowless, options.noDisplay);
    if (options.windowless)
        program.main.AUTOCLOSE_TICKBOX.setValue(1);
    if (options.noAutostart)
        program.engine.autostart().holdForThisStart();
}

} // namespace zb
