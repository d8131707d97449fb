// One process query over the real /proc with 500 extra processes running,
// against the scan that keeps nothing between calls (the baseline) and
// against asking `pgrep -x` the same question as a whole process (fork,
// exec, its own scan, wait).
//
// "absent" scans every process; "present" finds a process started after the
// 500 others, so it also walks nearly the whole table; "absent_long_name"
// shows the scan without the command-name reads.
//
// `zb_process_query_bench --side-by-side 600 3000` instead fills the process
// table up to each count and prints, per count, the first query of a fresh
// query object (prepared ahead; made at once after the reading ahead began,
// as the program's first query at the earliest, CPU on the calling thread and
// how long it waited; and cold, which the program no longer makes), the later
// queries (quiet, and with a process started before each), the baseline scan
// and `pgrep -x`, in one run.
#include "BaselineProcFsScan.h"
#include "platform/linux/ProcFsProcessQuery.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <thread>

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
    // Let them all get past the age at which every call reads them.
    static const bool settled = [] {
        std::this_thread::sleep_for(std::chrono::seconds(ProcFsProcessQuery::kYoungSeconds + 1));
        return true;
    }();
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

double threadCpuMs()
{
    timespec t = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double wallMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// CPU of one call on this thread, in ms.
template <typename F>
double cpuOf(F&& call)
{
    const double start = threadCpuMs();
    call();
    return threadCpuMs() - start;
}

// Sleeps up to `total` processes in the whole table, for as long as it lives.
class Filler {
public:
    explicit Filler(int total)
    {
        for (int have = processCount(); have < total; ++have) {
            const pid_t pid = spawn({"sleep", "600"});
            if (pid <= 0)
                break;
            pids_.push_back(pid);
        }
        // Past the age at which the query reads a process at every call: a
        // table of processes all just started is not what a pass meets.
        if (!pids_.empty())
            std::this_thread::sleep_for(std::chrono::seconds(ProcFsProcessQuery::kYoungSeconds + 1));
    }
    ~Filler()
    {
        for (pid_t pid : pids_)
            kill(pid, SIGKILL);
        for (pid_t pid : pids_)
            waitpid(pid, nullptr, 0);
    }

private:
    std::vector<pid_t> pids_;
};

void sideBySide(int total)
{
    Filler filler(total);
    const QString absent = QString::fromLatin1(kAbsent);
    constexpr int kRuns = 15;
    std::vector<double> cold, prepared, during, duringWall, later, busy, baseline, pgrepWall;
    for (int run = 0; run < kRuns; ++run) {
        {
            ProcFsProcessQuery query;
            cold.push_back(cpuOf([&] { query.isProcessRunning(absent); }));
            for (int i = 0; i < 4; ++i)
                later.push_back(cpuOf([&] { query.isProcessRunning(absent); }));
            // A process started and gone before every call, as on a busy
            // desktop: the mean over enough calls to take in the whole list
            // walked now and then.
            double sum = 0;
            for (int i = 0; i < 2 * int(ProcFsProcessQuery::kRefreshEvery); ++i) {
                waitpid(spawn({"true"}), nullptr, 0);
                sum += cpuOf([&] { query.isProcessRunning(absent); });
            }
            busy.push_back(sum / (2 * ProcFsProcessQuery::kRefreshEvery));
        }
        {
            ProcFsProcessQuery query;
            query.readAhead();
            for (int waited = 0; !query.prepared() && waited < 10'000; waited += 10)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            prepared.push_back(cpuOf([&] { query.isProcessRunning(absent); }));
        }
        {
            ProcFsProcessQuery query;
            query.readAhead();
            const double start = wallMs();
            during.push_back(cpuOf([&] { query.isProcessRunning(absent); }));
            duringWall.push_back(wallMs() - start);
        }
        baseline.push_back(cpuOf([&] { bench::baselineIsProcessRunning(absent); }));
        const double start = wallMs();
        const pid_t pid = spawn({"pgrep", "-x", kAbsent});
        waitpid(pid, nullptr, 0);
        pgrepWall.push_back(wallMs() - start);
    }
    const double pg = median(pgrepWall);
    std::printf("%6d | %9.3f %6.1fx | %9.3f %6.1fx %7.1f | %9.3f %6.1fx | %9.3f %6.1fx | %9.3f %6.1fx | %9.3f | "
                "%9.3f\n",
                processCount() - 1, median(prepared), pg / median(prepared), median(during), pg / median(during),
                median(duringWall), median(cold), pg / median(cold), median(later), pg / median(later), median(busy),
                pg / median(busy), median(baseline), pg);
}

} // namespace
} // namespace zb

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--side-by-side") == 0) {
        std::printf("P-4-P poll, ms (CPU of the query; pgrep: exec to exit), median of 15; x = pgrep / query\n");
        std::printf("first(at once): made as the reading ahead begins; waited = its wall time, mostly waiting\n");
        std::printf("first(cold): no reading ahead, a query the program no longer makes\n");
        std::printf("procs  | first(prepared)   | first(at once)     waited | first(cold)       | later             | "
                    "later, busy       | baseline  | pgrep\n");
        for (int i = 2; i < argc; ++i)
            zb::sideBySide(std::atoi(argv[i]));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
