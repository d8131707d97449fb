#pragma once

#include "platform/ProcessQuery.h"

#include <string>

namespace zb {

// Looks for processes of a name by scanning /proc afresh at every call: no
// cache, no shell, no helper process. A process answers to the name by its
// command name, its executable's file name, the file name of its first
// command-line word, or the file name of the script its interpreter runs
// (see ProcFsNameMatch.h). Processes that vanish or cannot be read during the
// scan are passed over; one that has exited but is not yet reaped is not
// running. Nothing is allocated per process.
class ProcFsProcessQuery : public ProcessQuery {
public:
    // `procRoot` is where the process table is mounted.
    explicit ProcFsProcessQuery(std::string procRoot = "/proc");

    bool isProcessRunning(const QString& name) override;

private:
    std::string procRoot_;
};

} // namespace zb
