#pragma once

#include "platform/ProcessQuery.h"

#include <cstdint>
#include <string>
#include <unordered_map>

namespace zb {

// Looks for processes of a name by scanning /proc at every call: no shell, no
// helper process. A process answers to the name by its command name, its
// executable's file name, the file name of its first command-line word, or
// the file name of the script its interpreter runs (see ProcFsNameMatch.h).
// Processes that vanish or cannot be read during the scan are passed over;
// one that has exited but is not yet reaped is not running.
//
// Each process costs one read of its stat file, which gives its command name,
// state and start time. The names that take an executable link and a command
// line to learn are kept between calls for as long as the same process (pid
// and start time) shows the same command name, so that they are read once per
// process rather than once per call; a new command name (a process that
// executed another program) reads them afresh.
class ProcFsProcessQuery : public ProcessQuery {
public:
    // `procRoot` is where the process table is mounted.
    explicit ProcFsProcessQuery(std::string procRoot = "/proc");

    ProcessPresence isProcessRunning(const QString& name) override;

    // The names of one process, as read from its executable link and command
    // line: file names only.
    struct KnownNames {
        std::uint64_t startTime = 0;
        std::string comm;
        std::string exe;
        std::string firstWord;
        std::string script;
        unsigned scan = 0; // the last scan that saw it
    };

private:
    bool answersTo(int procFd, std::string_view pid, std::string_view name);

    std::string procRoot_;
    std::unordered_map<std::uint64_t, KnownNames> known_;
    unsigned scan_ = 0;
};

} // namespace zb
