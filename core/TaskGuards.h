#pragma once

#include <QString>
#include <optional>

namespace zb {

class Settings;

// What guards one slot's task in a pass, read from the store when the slot
// needs it, so that an edit counts from the next check on.
struct TaskGuards {
    std::optional<qint64> limitMs; // how long a wait on the task may last; none when not set
    bool stopAtLimit = false;      // the task is stopped at its limit, rather than left running
    bool stopChainOnFailure = false;
};
TaskGuards readTaskGuards(const Settings& settings, int n);

// A time limit as typed: minutes, a number above zero ("90", "0.5"). Empty
// or blank is no limit; so is anything else, which the editors refuse.
std::optional<qint64> timeLimitMs(const QString& text);
// Whether an editor may store the text: empty, or a limit.
bool acceptableTimeLimit(const QString& text);

} // namespace zb
