#pragma once

#include "platform/ProcessQuery.h"

#include <atomic>
#include <chrono>
#include <climits>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <unordered_map>

namespace zb {

// Looks for processes of a name in /proc at every call: no shell, no helper
// process. A process answers to the name by its command name, its
// executable's file name, the file name of its first command-line word, or
// the file name of the script its interpreter runs (see ProcFsNameMatch.h).
// Processes that vanish or cannot be read during the scan are passed over;
// one that has exited but is not yet reaped is not running, and the program's
// own process is never counted (a copy may be named as its task). A table that
// cannot be opened or listed, or lists no process at all, is Unknown.
//
// Reading a process's files is what a scan costs, so a scan reads next to
// nothing of a process it knows: the listing gives each process directory's
// inode, and a process keeps its /proc entry, and so its inode, for as long
// as it lives. What was read of it is kept under its pid and that inode; a
// new process under the pid has a new entry and is read afresh. What a
// process may change in place (another program by exec, a new command name,
// a rewritten command line) is caught two ways: a process younger than
// kYoungSeconds, the age at which tasks start their programs, is read at
// every call, and every other one once in every kRefreshEvery calls, spread
// over the calls: by its command name alone, which an exec or a rename
// changes, and in full at one turn in kFullRefreshRounds. A process whose
// kept names answer to the name is read afresh before it counts, so a kept
// name never makes a process count that no longer answers to it. A process
// read afresh shows its command name first; when that settles the answer,
// nothing else of it is read.
//
// Listing /proc takes milliseconds at thousands of processes. Every new
// process takes a pid, and the table of this process's own pid namespace
// tells the last one handed out: when it has not moved since a whole walk,
// the known processes are all there is to look at; when it has moved on,
// the list is walked only from the pid above the last one seen. Once in
// every kRefreshEvery calls, and whenever the pids wrapped around, the whole
// list is walked, which also forgets the processes that have gone.
//
// The first call would have to read every process; readAhead() reads the
// table on a thread of its own, so that the first call finds it known and
// costs no more than the later ones. A call that comes while it is read waits
// for it rather than read it all a second time beside it.
class ProcFsProcessQuery : public ProcessQuery {
public:
    // `procRoot` is where the process table is mounted.
    explicit ProcFsProcessQuery(std::string procRoot = "/proc");
    ~ProcFsProcessQuery() override;

    ProcessPresence isProcessRunning(const QString& name) override;
    bool answersTo(qint64 pid, const QString& name) override;

    // Reads the whole table on a thread at a low priority and hands it to the
    // first call. That call waits for it as long as the reading moves on, up
    // to kMostWait; a thread starved or stuck is given up and the call reads
    // for itself.
    void readAhead() override;
    // Whether a table read ahead is ready to be taken.
    bool prepared() const;

    // How long the reading ahead may stand still, and how long a call waits
    // for it at most: a few times what a cold read of thousands of processes
    // takes on a busy machine.
    static constexpr std::chrono::milliseconds kStall{25};
    static constexpr std::chrono::milliseconds kMostWait{250};

    static constexpr unsigned kRefreshEvery = 32;
    static constexpr long kYoungSeconds = 5;
    // A settled process is read in full at one refresh turn in this many;
    // at the others its stat line is enough unless it changed.
    static constexpr unsigned kFullRefreshRounds = 8;

    // What is kept of one process between calls.
    struct Known {
        ino_t entry = 0;         // the inode of its /proc directory
        long long started = -1;  // start time in clock ticks after boot; -1 unknown
        bool complete = false;   // the names beyond the command name were read
        std::string comm;        // command name
        std::string exe;         // executable's file name
        std::string firstWord;   // file name of the first command-line word
        std::string script;      // file name of the interpreter's script
        bool alive = false;      // neither zombie nor dead when last read
        unsigned seenInScan = 0; // 0: never read
    };

private:
    struct Preparation;

    // What the last whole walk of the list left to go on.
    static constexpr std::int64_t kUnlearned = INT64_MIN;
    static constexpr std::int64_t kNoOffset = INT64_MIN + 1;
    struct Listing {
        // The last pid handed out before the walk; -1 unknown.
        long long lastPid = -1;
        // Directory offset minus pid of a process entry, or one of the above.
        std::int64_t pidOffset = kUnlearned;
    };

    bool processAnswersTo(int procFd, std::string_view pid, ino_t entry, std::uint64_t key, Known& known,
                          std::string_view name);
    // Walks the list from where procFd stands; false when it cannot be read.
    bool visitEntries(int procFd, std::string_view name, bool anyName, int& processes, bool& found);
    static std::int64_t learnedOffset(std::int64_t learned, std::uint64_t previousOffset, std::uint64_t pid);
    long long lastPidIfOurs(int procFd);
    void adoptPreparation();
    void readWholeTable();

    std::string procRoot_;
    // This process's own pid, which never counts as a process of any name.
    std::string ownPid_;
    std::unordered_map<std::uint64_t, Known> known_;
    unsigned scan_ = 0;
    // Clock ticks after boot at the start of this call, and how many make
    // up kYoungSeconds.
    long long now_ = 0;
    long long youngTicks_ = 0;
    // Set at the start of a table-wide read: read every process in full.
    bool readingAll_ = false;
    Listing listing_;
    // Whether the table is this process's own pid namespace's; -1 not yet
    // known.
    int ours_ = -1;
    std::shared_ptr<Preparation> preparation_;
    // Counts the processes read, for a caller waiting on the thread that reads
    // ahead; null elsewhere.
    std::atomic<unsigned>* progress_ = nullptr;
};

} // namespace zb
