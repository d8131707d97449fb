#include "ClockTexts.h"

#include <algorithm>

namespace zb {

namespace {
constexpr qint64 kMinute = 60;
constexpr qint64 kHour = 60 * kMinute;
constexpr qint64 kDay = 24 * kHour;

QString twoDigits(qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }
} // namespace

QString countdownFieldText(qint64 seconds)
{
    const qint64 magnitude = seconds < 0 ? -seconds : seconds;
    return twoDigits(magnitude % kMinute);
}

QString runtimeClockText(qint64 seconds)
{
    // The clock only counts up; a negative count would be a fault, shown as
    // the time of day it stands for rather than with a sign.
    const qint64 ofDay = ((seconds % kDay) + kDay) % kDay;
    return twoDigits(ofDay / kHour) + QLatin1Char(':') + twoDigits(ofDay % kHour / kMinute) + QLatin1Char(':') +
           twoDigits(ofDay % kMinute);
}

QString durationText(qint64 seconds)
{
    seconds = std::max<qint64>(0, seconds);
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / kHour)
        .arg(seconds / kMinute % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % kMinute, 2, 10, QLatin1Char('0'));
}

} // namespace zb
