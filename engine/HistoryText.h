#pragma once

#include "PassAccount.h"

namespace zb {

// A pass as the History window shows it, as plain text: its row (when it
// started, how, how long it took, its result), then one line per slot, slots
// skipped one after another on one line.
QString historyPassText(const HistoryPass& pass);

} // namespace zb
