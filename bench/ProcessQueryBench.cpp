// One process query over the real /proc with 500 extra processes running,
// against the scan that keeps nothing between calls (the baseline) and
// against asking `pgrep -x` the same question as a whole process (fork,
// exec, its own scan, wait).
//
// "absent" scans every process; "present" finds a process started after the
// 500 others, so it also walks nearly the whole table; "absent_long_name"
// shows the scan without the command-name reads.
#include "BaselineProcFsScan.h"
#include "platform/linux/ProcFsProcessQuery.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zb {
namespace {

constexpr int kExtraProcesses = 500;
constexpr const char* kPresent = "zbbenchlast";
constexpr const char* kAbsent = "zb-absent-name";
// Fifteen bytes or more: the command name cannot settle it, so it is not read.
constexpr const char* kAbsentLong = "zb-absent-longer-name";

pid_t spawn(std::vector<const char*> argv)
{
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int error = posix_spawnp(&pid, argv[0], &actions, nullptr, const_cast<char* const*>(argv.data()), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

// 500 `sleep` processes and, after them, one under the name kPresent, for as
// long as the object lives. The sleeps end by themselves should the
// benchmark be killed.
class ProcessTable {
public:
    ProcessTable()
    {
        for (int i = 0; i < kExtraProcesses; ++i)
            start({"sleep", "300"});
        char folder[] = "/tmp/zb-bench-XXXXXX";
        if (mkdtemp(folder) != nullptr) {
            folder_ = folder;
            link_ = folder_ + "/" + kPresent;
            if (symlink("/bin/sleep", link_.c_str()) == 0)
                start({link_.c_str(), "300"});
        }
    }
    ~ProcessTable()
    {
        for (pid_t pid : pids_)
            kill(pid, SIGKILL);
        for (pid_t pid : pids_)
            waitpid(pid, nullptr, 0);
        if (!link_.empty())
            unlink(link_.c_str());
        if (!folder_.empty())
            rmdir(folder_.c_str());
    }

private:
    void start(std::vector<const char*> argv)
    {
        if (const pid_t pid = spawn(std::move(argv)); pid > 0)
            pids_.push_back(pid);
    }

    std::vector<pid_t> pids_;
    std::string folder_;
    std::string link_;
};

void ensureProcessTable()
{
    static ProcessTable table;
    // Let the last one get past its exec before anything is timed.
    static const bool settled = [] { return usleep(300'000) == 0; }();
    (void)settled;
}

// How many processes the scan walks over.
int processCount()
{
    int n = 0;
    if (DIR* dir = opendir("/proc")) {
        while (const dirent* e = readdir(dir))
            n += e->d_name[0] >= '1' && e->d_name[0] <= '9';
        closedir(dir);
    }
    return n;
}

void BM_ProcFsQuery(benchmark::State& state, const char* name, bool expected)
{
    ensureProcessTable();
    ProcFsProcessQuery query;
    const QString wanted = QString::fromLatin1(name);
    const ProcessPresence answer = expected ? ProcessPresence::Running : ProcessPresence::NotRunning;
    for (auto _ : state) {
        if (query.isProcessRunning(wanted) != answer)
            state.SkipWithError("wrong answer");
    }
    state.counters["processes"] = processCount();
}

void BM_BaselineScan(benchmark::State& state, const char* name, bool expected)
{
    ensureProcessTable();
    const QString wanted = QString::fromLatin1(name);
    for (auto _ : state) {
        if (bench::baselineIsProcessRunning(wanted) != expected)
            state.SkipWithError("wrong answer");
    }
    state.counters["processes"] = processCount();
}
BENCHMARK_CAPTURE(BM_BaselineScan, present, kPresent, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BaselineScan, absent, kAbsent, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_BaselineScan, absent_long_name, kAbsentLong, false)->Unit(benchmark::kMicrosecond);

BENCHMARK_CAPTURE(BM_ProcFsQuery, present, kPresent, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ProcFsQuery, absent, kAbsent, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ProcFsQuery, absent_long_name, kAbsentLong, false)->Unit(benchmark::kMicrosecond);

// Real time is what counts here: the caller waits for the whole process.
void BM_PgrepProcess(benchmark::State& state, const char* name, int expectedStatus)
{
    ensureProcessTable();
    for (auto _ : state) {
        const pid_t pid = spawn({"pgrep", "-x", name});
        int status = -1;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != expectedStatus)
            state.SkipWithError("wrong answer");
    }
    state.counters["processes"] = processCount();
}
BENCHMARK_CAPTURE(BM_PgrepProcess, present, kPresent, 0)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_PgrepProcess, absent, kAbsent, 1)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace
} // namespace zb
