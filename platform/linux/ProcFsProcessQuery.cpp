#include "ProcFsProcessQuery.h"

namespace zb {

// Placeholder until the /proc scan lands: nothing is ever found running.
bool ProcFsProcessQuery::isProcessRunning(const QString&) { return false; }

} // namespace zb
