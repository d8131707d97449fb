#pragma once

#include "CronEntry.h"

#include <QDateTime>
#include <QTimeZone>

// When cron really starts an entry at a fixed minute and hour, in the local
// time of `zone`, across the clock changes. Debian's cron runs an entry whose
// minute the spring change skips at the first minute after the jump, and an
// entry whose minute comes twice in autumn only the first time.
namespace zb::schedule {

// The start on that date, or an invalid time when the entry does not run on
// that day of the week.
QDateTime startOn(const CronSchedule& when, const QDate& date, const QTimeZone& zone);
// The first start strictly after now; the latest start at or before now.
QDateTime nextStart(const CronSchedule& when, const QDateTime& now, const QTimeZone& zone);
QDateTime lastStart(const CronSchedule& when, const QDateTime& now, const QTimeZone& zone);

} // namespace zb::schedule
