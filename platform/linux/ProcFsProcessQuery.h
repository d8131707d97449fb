#pragma once

#include "platform/ProcessQuery.h"

namespace zb {

// Looks for processes of a name by scanning /proc afresh at every call.
class ProcFsProcessQuery : public ProcessQuery {
public:
    bool isProcessRunning(const QString& name) override;
};

} // namespace zb
