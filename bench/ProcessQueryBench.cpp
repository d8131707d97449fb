// One process query over the real /proc with some 500 extra processes
// running, against asking `pgrep -x` the same question as a whole process.
#include "platform/linux/ProcFsProcessQuery.h"

#include <benchmark/benchmark.h>

#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zb {
namespace {

constexpr int kExtraProcesses = 500;
constexpr const char* kPresent = "sleep";
constexpr const char* kAbsent = "zb-absent-name";

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

// Some 500 `sleep` processes for as long as the object lives.
class Sleepers {
public:
    Sleepers()
    {
        for (int i = 0; i < kExtraProcesses; ++i)
            if (const pid_t pid = spawn({"sleep", "600"}); pid > 0)
                pids_.push_back(pid);
    }
    ~Sleepers()
    {
        for (pid_t pid : pids_)
            kill(pid, SIGKILL);
        for (pid_t pid : pids_)
            waitpid(pid, nullptr, 0);
    }
    int count() const { return static_cast<int>(pids_.size()); }

private:
    std::vector<pid_t> pids_;
};

Sleepers& sleepers()
{
    static Sleepers running;
    return running;
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
    sleepers();
    ProcFsProcessQuery query;
    const QString wanted = QString::fromLatin1(name);
    for (auto _ : state) {
        if (query.isProcessRunning(wanted) != expected)
            state.SkipWithError("wrong answer");
    }
    state.counters["processes"] = processCount();
}
BENCHMARK_CAPTURE(BM_ProcFsQuery, present, kPresent, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ProcFsQuery, absent, kAbsent, false)->Unit(benchmark::kMicrosecond);

void BM_PgrepProcess(benchmark::State& state, const char* name, int expectedStatus)
{
    sleepers();
    for (auto _ : state) {
        const pid_t pid = spawn({"pgrep", "-x", name});
        int status = -1;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != expectedStatus)
            state.SkipWithError("wrong answer");
    }
    state.counters["processes"] = processCount();
}
BENCHMARK_CAPTURE(BM_PgrepProcess, present, kPresent, 0)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_PgrepProcess, absent, kAbsent, 1)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace zb
