#pragma once

#include "platform/ProcessQuery.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>

namespace zb {

// Looks for processes of a name by scanning /proc at every call: no shell, no
// helper process. A process answers to the name by its command name, its
// executable's file name, the file name of its first command-line word, or
// the file name of the script its interpreter runs (see ProcFsNameMatch.h).
// Processes that vanish or cannot be read during the scan are passed over;
// one that has exited but is not yet reaped is not running, and the program's
// own process is never counted (a copy may be named as its task). A table that
// cannot be opened or listed, or lists no process at all, is Unknown.
//
// Reading a process's files is what a scan costs, so each call reads only the
// executable link of every process, the cheapest of them. The command name and
// the names from the command line are kept between calls for as long as the
// same process (its /proc entry) shows the same executable; a new process
// under the pid or a program that executed another one reads them afresh.
// What a process changes without executing a new program (its command name,
// its command line) is read again once in every kRefreshEvery calls, spread
// over the calls. A process whose kept names answer to the name is read afresh
// before it counts, so a kept name never makes a process count that no longer
// answers to it.
class ProcFsProcessQuery : public ProcessQuery {
public:
    // `procRoot` is where the process table is mounted.
    explicit ProcFsProcessQuery(std::string procRoot = "/proc");

    ProcessPresence isProcessRunning(const QString& name) override;
    bool answersTo(qint64 pid, const QString& name) override;

    static constexpr unsigned kRefreshEvery = 32;

    // What is kept of one process between calls.
    struct Known {
        ino_t entry = 0;         // the inode of its /proc directory
        std::string exeTarget;   // the executable link as read
        int exeError = 0;        // why it could not be read, or 0
        std::string comm;        // command name
        std::string exe;         // executable's file name
        std::string firstWord;   // file name of the first command-line word
        std::string script;      // file name of the interpreter's script
        bool alive = false;      // neither zombie nor dead when last read
        unsigned seenInScan = 0; // 0: never read
    };

private:
    bool processAnswersTo(int procFd, std::string_view pid, ino_t entry, std::string_view name);

    std::string procRoot_;
    // This process's own pid, which never counts as a process of any name.
    std::string ownPid_;
    std::unordered_map<std::uint64_t, Known> known_;
    unsigned scan_ = 0;
};

} // namespace zb
