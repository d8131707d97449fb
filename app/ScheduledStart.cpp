#include "ScheduledStart.h"

#include "CommandLine.h"
#include "Program.h"
#include "core/Settings.h"
#include "engine/JournalText.h"
#include "schedule/CronClock.h"
#include "schedule/SchedulerTexts.h"

namespace zb {

ScheduledMark takeScheduledStartMark()
{
    const char* name = schedule::kScheduledStartVariable;
    const QString value = qEnvironmentVariable(name);
    qunsetenv(name);
    if (value == QLatin1String("1"))
        return ScheduledMark::Schedule;
    return value == QLatin1String(schedule::kBootStartValue) ? ScheduledMark::Boot : ScheduledMark::None;
}

std::optional<QDateTime> missedStart(const QStringList& journalLines, const schedule::CronSchedule& when,
                                     const QDateTime& now, const QTimeZone& zone, const QDateTime& since)
{
    const QDateTime planned = schedule::lastStart(when, now, zone);
    if (!planned.isValid() || (since.isValid() && planned < since))
        return std::nullopt;
    for (const QString& line : journalLines) {
        const std::optional<JournalEntry> entry = parseJournalLine(line);
        if (!entry || entry->when < planned)
            continue;
        const JournalEvent::Kind kind = entry->event.kind;
        // A start that was tried counts too: it did not go missing.
        if (kind == JournalEvent::Kind::PassStarted || kind == JournalEvent::Kind::ScheduledStart ||
            kind == JournalEvent::Kind::ScheduledStartNotRun)
            return std::nullopt;
    }
    return planned;
}

QString caughtUpText(const QDateTime& planned, const QTimeZone& zone)
{
    return text::kCaughtUpFor + planned.toTimeZone(zone).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
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

QString withCatchUpNote(const QString& reason, const QString& caughtUp)
{
    if (!caughtUp.startsWith(text::kCaughtUpFor))
        return reason;
    return reason + QStringLiteral("; started at boot to catch up the start planned for ") +
           caughtUp.mid(text::kCaughtUpFor.size());
}

StartRefusal claimRefusal(const QString& lockProblem, const QString& caughtUp)
{
    if (lockProblem.isEmpty())
        return {StartRefusal::Kind::OtherCopyRuns,
                withCatchUpNote(QStringLiteral("another copy of the same name was running"), caughtUp)};
    return {StartRefusal::Kind::LockUnsafe,
            withCatchUpNote(QStringLiteral("one copy per name cannot be made sure: %1").arg(lockProblem), caughtUp)};
}

StartPlan planStart(bool scheduled, bool autostartTicked, const QString& noDisplay, const QString& programName,
                    const QString& caughtUp)
{
    StartPlan plan;
    if (noDisplay.isEmpty())
        return plan;
    if (scheduled && autostartTicked) {
        plan.mode = StartMode::Windowless;
        const QString atBoot = caughtUp.isEmpty() ? QString() : QStringLiteral(" at boot (%1)").arg(caughtUp);
        plan.stderrText = QStringLiteral("%1: no display: %2; started by the schedule%3 with AutoStart Timer ticked, "
                                         "it runs its chain without a window and closes after it\n")
                              .arg(programName, noDisplay, atBoot);
        return plan;
    }
    plan.mode = StartMode::NotRun;
    plan.stderrText = noDisplayText(programName, noDisplay);
    plan.refusal = {StartRefusal::Kind::NoDisplay,
                    withCatchUpNote(scheduled
                                        ? QStringLiteral("no display: %1; AutoStart Timer is clear").arg(noDisplay)
                                        : QStringLiteral("no display: %1").arg(noDisplay),
                                    caughtUp)};
    if (scheduled)
        plan.record = plan.refusal.record();
    return plan;
}

std::optional<QString> catchUpAtBoot(const Settings& settings, const RunJournal& journal, const QDateTime& now,
                                     const QTimeZone& zone)
{
    const auto time = schedule::parseRunTime(settings.readText(keys::TASK_RUN_TIME_TEXTBOX));
    if (!time)
        return std::nullopt;
    int days = 0;
    for (int d = 0; d < 7; ++d)
        if (settings.readTick(keys::schedulerDay(d)) != 0)
            days |= schedule::weekdayBit(d + 1);
    if (settings.readTick(keys::SELECT_ALL_DAYS_TICKBOX) != 0)
        days = 0;
    const QDateTime since = QDateTime::fromString(settings.readText(keys::SCHEDULED_SINCE), Qt::ISODate);
    const std::optional<QDateTime> planned =
        missedStart(journal.readLines(), {time->minute, time->hour, days}, now, zone, since);
    if (!planned)
        return std::nullopt;
    return caughtUpText(*planned, zone);
}

void applyStartOptions(Program& program, const StartOptions& options)
{
    if (options.scheduled)
        program.engine.recorder().scheduledStart(options.windowless, options.noDisplay, options.caughtUp);
    if (options.windowless)
        program.main.AUTOCLOSE_TICKBOX.setValue(1);
    if (options.noAutostart)
        program.engine.autostart().holdForThisStart();
}

} // namespace zb
