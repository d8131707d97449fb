#pragma once

#include <QString>

namespace zb::bench {

// Whether a process of the name runs, found by the uncached scan of /proc.
bool baselineIsProcessRunning(const QString& name);

} // namespace zb::bench
