#include "ScheduleHealth.h"

#include "CronClock.h"
#include "SchedulerTexts.h"
#include "core/MainWindowModel.h"
#include "engine/JournalText.h"
#include "engine/PassAccount.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <optional>

namespace zb::schedule {

namespace {

using Kind = JournalEvent::Kind;

// cron starts the program within seconds of its minute; until then a start
// is on its way, not missed.
constexpr qint64 kOnItsWaySeconds = 120;
// The journal's clock may run a little behind cron's.
constexpr qint64 kClockSlackSeconds = 60;

QString when(const QDateTime& at, const QTimeZone& zone, const QString& format)
{
    return QLocale::c().toString(at.toTimeZone(zone), format);
}

struct Found {
    QDateTime at;
    JournalEvent event;
};

// The newest start by cron the journal holds.
std::optional<Found> newestScheduledStart(const QStringList& lines)
{
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        const auto entry = parseJournalLine(*it);
        if (entry && (entry->event.kind == Kind::ScheduledStart || entry->event.kind == Kind::ScheduledStartNotRun))
            return Found{entry->when, entry->event};
    }
    return std::nullopt;
}

struct Outcome {
    HealthPart part;
    QString how; // its pass's, as History tells it; empty when no pass ran
};

// How the start found ended, as History tells it.
Outcome outcomeOf(const Found& found, const QStringList& lines)
{
    if (found.event.kind == Kind::ScheduledStartNotRun)
        return {{notRunText(found.event.reason), true}, {}};
    // Its pass is the newest pass by the schedule that began after it; failing
    // that, the oldest after it whose start line was lost.
    const QList<HistoryPass> passes = historyFromJournal(lines);
    const HistoryPass* unknown = nullptr;
    for (const HistoryPass& pass : passes) {
        if (pass.started < found.at)
            break;
        if (pass.how.startsWith(QStringLiteral("By schedule")))
            return {{pass.result, pass.result.startsWith(text::kCompletedWithErrors)}, pass.how};
        if (pass.how == kUnknownStart)
            unknown = &pass;
    }
    if (unknown != nullptr)
        return {{unknown->result, unknown->result.startsWith(text::kCompletedWithErrors)}, unknown->how};
    // With its window, the start itself tells what it caught up.
    return {{QStringLiteral("opened its window; AutoStart Timer was clear, so no pass ran"), false},
            found.event.windowless ? QString() : found.event.reason};
}

// A start at boot that caught up a missed minute is told as such, with the
// minute: its own time is not the schedule's.
QString catchUpNote(const QString& how)
{
    const qsizetype at = how.indexOf(text::kCaughtUpFor);
    return at < 0 ? QString() : QStringLiteral(" at boot (") + how.mid(at) + QLatin1Char(')');
}

} // namespace

QString nextStartText(const CronSchedule& entry, const QDateTime& now, const QTimeZone& zone)
{
    const QDateTime next = nextStart(entry, now, zone);
    if (!next.isValid())
        return {};
    QString out = QStringLiteral("Next start: ") + when(next, zone, QStringLiteral("ddd yyyy-MM-dd HH:mm"));
    const QTime local = next.toTimeZone(zone).time();
    if (local.hour() != entry.hour || local.minute() != entry.minute)
        out += QStringLiteral(" (%1:%2 is skipped by the clock change)")
                   .arg(entry.hour, 2, 10, QLatin1Char('0'))
                   .arg(entry.minute, 2, 10, QLatin1Char('0'));
    return out;
}

HealthPart lastStartText(const QStringList& journalLines, const CronSchedule& entry, const QDateTime& now,
                         const QTimeZone& zone, const QDateTime& since, bool lineMarksStarts)
{
    QDateTime expected = lastStart(entry, now, zone);
    if (expected.isValid() && expected.secsTo(now) < kOnItsWaySeconds)
        expected = lastStart(entry, expected.addSecs(-1), zone);
    const std::optional<Found> found = newestScheduledStart(journalLines);
    const bool foundIsLatest = found && (!expected.isValid() || found->at >= expected.addSecs(-kClockSlackSeconds));
    const bool missed = !foundIsLatest && lineMarksStarts && expected.isValid() && since.isValid() && expected >= since;
    if (missed)
        return {when(expected, zone, QStringLiteral("ddd HH:mm")) +
                    QStringLiteral(" did not start: the machine was off or cron was not running"),
                true};
    if (!found)
        return {};
    const Outcome outcome = outcomeOf(*found, journalLines);
    HealthPart out = outcome.part;
    out.text = QStringLiteral("Last scheduled start: ") +
               when(found->at, zone, QStringLiteral("ddd yyyy-MM-dd HH:mm")) + catchUpNote(outcome.how) +
               QStringLiteral(", ") + out.text;
    return out;
}

namespace {

// The value the line gives NAME, as composeEntry wrote it; nullopt when the
// line sets none.
std::optional<QString> entryValue(const QByteArray& line, const QString& name)
{
    const QString text = QString::fromUtf8(cronUnescaped(line));
    const QRegularExpression assignment(QStringLiteral("(?:^|\\s)%1='((?:[^']|'\\\\'')*)'").arg(name));
    const QRegularExpressionMatch m = assignment.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).replace(QStringLiteral("'\\''"), QStringLiteral("'"));
}

} // namespace

QString sessionMismatchText(const QByteArray& line, const QList<EnvAssignment>& session)
{
    QStringList differ;
    for (const auto& [name, what] : {std::pair{QStringLiteral("DISPLAY"), QStringLiteral("display")},
                                     {QStringLiteral("XAUTHORITY"), QStringLiteral("X authority file")}}) {
        const auto ours =
            std::find_if(session.cbegin(), session.cend(), [&name](const EnvAssignment& e) { return e.name == name; });
        const std::optional<QString> entry = entryValue(line, name);
        if (ours == session.cend() || !entry || *entry == ours->value)
            continue;
        differ << QStringLiteral("%1 %2, this session's is %3").arg(what, *entry, ours->value);
    }
    if (differ.isEmpty())
        return QString();
    return QStringLiteral("The entry was made in another session (its %1): its window may not open. Press Create "
                          "Task again to renew it for this session")
        .arg(differ.join(QStringLiteral("; its ")));
}

} // namespace zb::schedule
