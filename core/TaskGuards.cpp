#include "TaskGuards.h"

#include "Settings.h"

#include <cmath>

namespace zb {

namespace {
// A year: beyond it a limit is a typing slip, and the milliseconds stay far
// from overflow.
constexpr double kLongestMinutes = 366.0 * 24 * 60;
} // namespace

TaskGuards readTaskGuards(const Settings& settings, int n)
{
    return {timeLimitMs(settings.readText(keys::taskTimeLimit(n))), settings.readTick(keys::taskTimeLimitStop(n)) != 0,
            settings.readTick(keys::taskStopOnFailure(n)) != 0};
}

std::optional<qint64> timeLimitMs(const QString& text)
{
    bool ok = false;
    const double minutes = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(minutes) || minutes <= 0 || minutes > kLongestMinutes)
        return std::nullopt;
    return std::max<qint64>(1, std::llround(minutes * 60'000));
}

bool acceptableTimeLimit(const QString& text) { return text.trimmed().isEmpty() || timeLimitMs(text).has_value(); }

} // namespace zb
