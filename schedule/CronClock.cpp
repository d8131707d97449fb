#include "CronClock.h"

#include <optional>

namespace zb::schedule {

namespace {

constexpr qint64 kDay = 24 * 3600;
// The days searched either side of now: a week and a day covers any weekday.
constexpr int kSearchDays = 8;

QDateTime utcAt(qint64 secs) { return QDateTime::fromSecsSinceEpoch(secs, QTimeZone::utc()); }

int offsetAt(const QTimeZone& zone, qint64 secs) { return zone.offsetFromUtc(utcAt(secs)); }

} // namespace

QDateTime startOn(const CronSchedule& when, const QDate& date, const QTimeZone& zone)
{
    if (!when.runsOn(date.dayOfWeek()))
        return {};
    // The wall-clock reading as if it were UTC; the instant it names is that
    // minus the offset in force then. The offsets a day either side hold the
    // ones before and after a change on this date.
    const qint64 wall = QDateTime(date, QTime(when.hour, when.minute), QTimeZone::utc()).toSecsSinceEpoch();
    const int before = offsetAt(zone, wall - kDay);
    std::optional<qint64> first;
    for (const int offset : {before, offsetAt(zone, wall), offsetAt(zone, wall + kDay)}) {
        const qint64 instant = wall - offset;
        if (offsetAt(zone, instant) == offset && (!first || instant < *first))
            first = instant;
    }
    if (first)
        return utcAt(*first).toTimeZone(zone);
    // Skipped by a change forward: cron runs it as soon as the clock has
    // jumped, at the change itself (rounded up to its minute).
    const QTimeZone::OffsetData change = zone.previousTransition(utcAt(wall - before + 1));
    if (!change.atUtc.isValid())
        return {};
    const qint64 at = change.atUtc.toSecsSinceEpoch();
    return utcAt((at + 59) / 60 * 60).toTimeZone(zone);
}

QDateTime nextStart(const CronSchedule& when, const QDateTime& now, const QTimeZone& zone)
{
    const QDate today = now.toTimeZone(zone).date();
    for (int d = -1; d <= kSearchDays; ++d) {
        const QDateTime at = startOn(when, today.addDays(d), zone);
        if (at.isValid() && at > now)
            return at;
    }
    return {};
}

QDateTime lastStart(const CronSchedule& when, const QDateTime& now, const QTimeZone& zone)
{
    const QDate today = now.toTimeZone(zone).date();
    for (int d = 1; d >= -kSearchDays; --d) {
        const QDateTime at = startOn(when, today.addDays(d), zone);
        if (at.isValid() && at <= now)
            return at;
    }
    return {};
}

} // namespace zb::schedule
