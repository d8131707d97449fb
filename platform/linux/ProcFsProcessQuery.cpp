#include "ProcFsProcessQuery.h"

#include "ProcFsNameMatch.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <mutex>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

namespace zb {

namespace {

// Past this many remembered processes the memory is dropped and built again.
constexpr std::size_t kMostRemembered = 16384;

// How many of the pids handed out last may belong to processes still being
// made, not yet in the list.
constexpr long long kPidsInFlight = 64;

// "<pid>/<file>" relative to the /proc directory, built on the stack.
class ProcPath {
public:
    ProcPath(std::string_view pid, std::string_view file)
    {
        std::memcpy(text_, pid.data(), pid.size());
        text_[pid.size()] = '/';
        std::memcpy(text_ + pid.size() + 1, file.data(), file.size());
        text_[pid.size() + 1 + file.size()] = '\0';
    }
    const char* c_str() const { return text_; }

private:
    char text_[64];
};

// Reads up to `size` bytes of a /proc file in one call; -1 when the file
// cannot be opened or read (the process has gone, or is not ours to read).
ssize_t readProcFile(int procFd, const ProcPath& path, char* buf, std::size_t size)
{
    const int fd = openat(procFd, path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    ssize_t got;
    do {
        got = read(fd, buf, size);
    } while (got < 0 && errno == EINTR);
    close(fd);
    return got;
}

// A process directory: all digits, and short enough for a ProcPath.
bool isPid(std::string_view name)
{
    if (name.empty() || name.size() > 20)
        return false;
    for (char c : name)
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool isAlive(char state) { return state != 'Z' && state != 'X' && state != 'x'; }

// What a stat line tells: the command name, which points into the buffer it
// was read into, the state, whether it is a kernel thread and the start time.
struct StatLine {
    std::string_view comm;
    bool alive = false;
    bool kernelThread = false;
    long long started = -1;
};

// The flags (field 9) and the start time (field 22) from the text that
// begins at field 4; a field that cannot be read is left as it was.
void readFieldsAfterState(std::string_view afterState, StatLine& line)
{
    constexpr unsigned long kKernelThreadFlag = 0x00200000;
    for (int field = 4; field < 22; ++field) {
        if (field == 9) {
            unsigned long flags = 0;
            const auto [end, error] = std::from_chars(afterState.data(), afterState.data() + afterState.size(), flags);
            line.kernelThread = error == std::errc() && (flags & kKernelThreadFlag) != 0;
        }
        const std::size_t space = afterState.find(' ');
        if (space == std::string_view::npos)
            return;
        afterState.remove_prefix(space + 1);
    }
    long long ticks = -1;
    const auto [end, error] = std::from_chars(afterState.data(), afterState.data() + afterState.size(), ticks);
    line.started = error == std::errc() ? ticks : -1;
}

// Parses "pid (comm) S ...": the command name lies between the first '('
// and the last ')', as it may hold either. False when the process has gone.
bool readStat(int procFd, std::string_view pid, char (&buf)[512], StatLine& line)
{
    const ssize_t got = readProcFile(procFd, ProcPath(pid, "stat"), buf, sizeof buf);
    if (got <= 0)
        return false;
    const std::string_view text(buf, static_cast<std::size_t>(got));
    const std::size_t open = text.find('(');
    const std::size_t close = text.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open || close + 2 >= text.size())
        return false;
    line.comm = text.substr(open + 1, close - open - 1);
    line.alive = isAlive(text[close + 2]);
    line.started = -1;
    line.kernelThread = false;
    if (close + 4 < text.size())
        readFieldsAfterState(text.substr(close + 4), line);
    return true;
}

// The last pid handed out in this process's pid namespace (the last field of
// loadavg); -1 when it cannot be read. Any new process moves it.
long long lastPid(int procFd)
{
    char buf[128];
    const int fd = openat(procFd, "loadavg", O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return -1;
    const ssize_t got = read(fd, buf, sizeof buf);
    close(fd);
    if (got <= 0)
        return -1;
    std::string_view text(buf, static_cast<std::size_t>(got));
    while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
        text.remove_suffix(1);
    const std::size_t space = text.rfind(' ');
    if (space == std::string_view::npos)
        return -1;
    long long pid = -1;
    const auto [end, error] = std::from_chars(text.data() + space + 1, text.data() + text.size(), pid);
    return error == std::errc() && end == text.data() + text.size() ? pid : -1;
}

// The NUL-separated command line, without a last word that a full buffer may
// have cut short.
std::string_view readCmdline(int procFd, std::string_view pid, char (&buf)[4096])
{
    const ssize_t got = readProcFile(procFd, ProcPath(pid, "cmdline"), buf, sizeof buf);
    if (got <= 0)
        return {};
    std::string_view words(buf, static_cast<std::size_t>(got));
    if (words.size() == sizeof buf) {
        const std::size_t lastEnd = words.rfind('\0');
        words = words.substr(0, lastEnd == std::string_view::npos ? 0 : lastEnd);
    }
    return words;
}

// Reads the names beyond the command name: the executable's and those from
// the command line.
void readFullNames(int procFd, std::string_view pid, ProcFsProcessQuery::Known& known)
{
    known.complete = true;
    known.exe.clear();
    known.firstWord.clear();
    known.script.clear();
    char exe[PATH_MAX];
    const ssize_t exeLength = readlinkat(procFd, ProcPath(pid, "exe").c_str(), exe, sizeof exe);
    // No program image: a kernel thread, a zombie, or gone. Its command line
    // is empty, so only the command name can match.
    if (exeLength < 0 && errno == ENOENT)
        return;
    std::string_view exeName;
    if (exeLength > 0 && exeLength < PATH_MAX) {
        std::string_view target(exe, static_cast<std::size_t>(exeLength));
        // A program whose file was replaced since it started keeps its name.
        constexpr std::string_view kDeleted = " (deleted)";
        if (target.ends_with(kDeleted))
            target.remove_suffix(kDeleted.size());
        exeName = procfs::fileNameOf(target);
    }
    char cmdline[4096];
    const procfs::FullNames names = procfs::fullNamesOf(exeName, readCmdline(procFd, pid, cmdline));
    known.exe.assign(names.exe);
    known.firstWord.assign(names.firstWord);
    known.script.assign(names.script);
}

long long ticksSinceBoot()
{
    timespec now = {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const long long hz = sysconf(_SC_CLK_TCK);
    return static_cast<long long>(now.tv_sec) * hz + static_cast<long long>(now.tv_nsec) * hz / 1'000'000'000;
}

bool answersTo(const ProcFsProcessQuery::Known& known, std::string_view name)
{
    return procfs::commMatches(known.comm, name) ||
           procfs::fullNamesMatch({known.exe, known.firstWord, known.script}, name);
}

} // namespace

struct ProcFsProcessQuery::Preparation {
    std::mutex mutex;
    std::condition_variable done;
    bool ready = false; // under the mutex, as what follows once it is set
    std::unordered_map<std::uint64_t, Known> known;
    unsigned scan = 0;
    Listing listing;
    // Set when nobody will take the table: the thread then has nothing to do.
    std::atomic<bool> dropped{false};
    std::atomic<unsigned> progress{0};
};

ProcFsProcessQuery::ProcFsProcessQuery(std::string procRoot)
    : procRoot_(std::move(procRoot)),
      ownPid_(std::to_string(getpid())),
      youngTicks_(kYoungSeconds * sysconf(_SC_CLK_TCK))
{}

ProcFsProcessQuery::~ProcFsProcessQuery()
{
    if (preparation_)
        preparation_->dropped.store(true, std::memory_order_release);
}

void ProcFsProcessQuery::readAhead()
{
    if (preparation_ || !known_.empty())
        return;
    auto preparation = std::make_shared<Preparation>();
    preparation_ = preparation;
    // Detached: a process whose files hang must not hold up the program's end.
    std::thread([preparation, root = procRoot_] {
        if (preparation->dropped.load(std::memory_order_acquire))
            return;
        // It yields to what the user waits for, but not so far that a busy
        // machine starves it past the first call.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
        ProcFsProcessQuery query(root);
        query.progress_ = &preparation->progress;
        query.readWholeTable();
        {
            const std::lock_guard lock(preparation->mutex);
            preparation->known = std::move(query.known_);
            preparation->scan = query.scan_;
            preparation->listing = query.listing_;
            preparation->ready = true;
        }
        preparation->done.notify_all();
    }).detach();
}

bool ProcFsProcessQuery::prepared() const
{
    if (!preparation_)
        return false;
    const std::lock_guard lock(preparation_->mutex);
    return preparation_->ready;
}

void ProcFsProcessQuery::adoptPreparation()
{
    if (!preparation_)
        return;
    const std::shared_ptr<Preparation> preparation = std::move(preparation_);
    Preparation& p = *preparation;
    std::unique_lock lock(p.mutex);
    // Read beside it, the table would be read twice over at once: wait while
    // the thread moves on, within kMostWait.
    const auto giveUp = std::chrono::steady_clock::now() + kMostWait;
    unsigned seen = p.progress.load(std::memory_order_relaxed);
    while (!p.done.wait_for(lock, kStall, [&p] { return p.ready; })) {
        const unsigned now = p.progress.load(std::memory_order_relaxed);
        if (now == seen || std::chrono::steady_clock::now() >= giveUp)
            break;
        seen = now;
    }
    if (p.ready && known_.empty()) {
        known_ = std::move(p.known);
        scan_ = p.scan;
        listing_ = p.listing;
    }
    p.dropped.store(true, std::memory_order_release);
}

void ProcFsProcessQuery::readWholeTable()
{
    readingAll_ = true;
    isProcessRunning(QStringLiteral("*"));
    readingAll_ = false;
}

bool ProcFsProcessQuery::processAnswersTo(int procFd, std::string_view pid, ino_t entry, std::uint64_t key,
                                          Known& known, std::string_view name)
{
    const bool settled = known.seenInScan != 0 && known.complete && known.entry == entry && known.started >= 0 &&
                         now_ - known.started >= youngTicks_;
    // A settled process whose names do not answer is looked at only at its
    // turn, and then by its command name alone: a rename or another program
    // shows there. One turn in kFullRefreshRounds reads it all.
    if (!readingAll_ && settled && !zb::answersTo(known, name)) {
        const unsigned turn = static_cast<unsigned>(key) + scan_;
        known.seenInScan = scan_;
        if (turn % kRefreshEvery != 0)
            return false;
        if (turn % (kRefreshEvery * kFullRefreshRounds) != 0) {
            char comm[64];
            const ssize_t got = readProcFile(procFd, ProcPath(pid, "comm"), comm, sizeof comm);
            if (got <= 0) {
                known.seenInScan = 0;
                return false;
            }
            std::string_view text(comm, static_cast<std::size_t>(got));
            if (text.ends_with('\n'))
                text.remove_suffix(1);
            if (text == known.comm)
                return false;
        }
    }
    // Kept names that answer may be out of date: only what is read now counts.
    known.entry = entry;
    char buf[512];
    StatLine stat;
    if (!readStat(procFd, pid, buf, stat)) {
        known.complete = false;
        known.seenInScan = 0;
        return false;
    }
    known.seenInScan = scan_;
    known.comm.assign(stat.comm);
    known.alive = stat.alive;
    known.started = stat.started;
    known.complete = false;
    if (!readingAll_ && procfs::commMatches(known.comm, name))
        return known.alive;
    // Only the living count, whatever their names; a kernel thread has no
    // program image and an empty command line, so its command name is all
    // it answers to.
    if (!known.alive || stat.kernelThread) {
        known.complete = true;
        known.exe.clear();
        known.firstWord.clear();
        known.script.clear();
        return false;
    }
    readFullNames(procFd, pid, known);
    return !readingAll_ && zb::answersTo(known, name);
}

bool ProcFsProcessQuery::visitEntries(int procFd, std::string_view name, bool anyName, int& processes, bool& found)
{
    alignas(dirent64) char entries[16384];
    std::uint64_t previous = 0;
    while (!found) {
        const ssize_t got = getdents64(procFd, entries, sizeof entries);
        if (got <= 0)
            return got == 0;
        for (ssize_t at = 0; at < got && !found;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            at += entry->d_reclen;
            const std::string_view pid(entry->d_name);
            if (!isPid(pid))
                continue;
            ++processes;
            if (progress_ != nullptr)
                progress_->fetch_add(1, std::memory_order_relaxed);
            std::uint64_t key = 0;
            std::from_chars(pid.data(), pid.data() + pid.size(), key);
            // Each entry's offset is where the next one begins: learn how
            // offsets follow pids, to list only the pids above a given one.
            if (previous != 0 && listing_.pidOffset != kNoOffset)
                listing_.pidOffset = learnedOffset(listing_.pidOffset, previous, key);
            previous = static_cast<std::uint64_t>(entry->d_off);
            if (anyName && pid != ownPid_)
                found = processAnswersTo(procFd, pid, entry->d_ino, key, known_[key], name);
        }
        // A name no process can have needs only the proof that the list
        // can be read.
        if (!anyName && processes > 0)
            break;
    }
    return true;
}

std::int64_t ProcFsProcessQuery::learnedOffset(std::int64_t learned, std::uint64_t previousOffset, std::uint64_t pid)
{
    const std::int64_t offset = static_cast<std::int64_t>(previousOffset) - static_cast<std::int64_t>(pid);
    if (learned == kUnlearned)
        return offset;
    return learned == offset ? learned : kNoOffset;
}

ProcessPresence ProcFsProcessQuery::isProcessRunning(const QString& name)
{
    const QByteArray encoded = QFile::encodeName(name);
    const std::string_view wanted(encoded.constData(), static_cast<std::size_t>(encoded.size()));

    adoptPreparation();
    const int procFd = open(procRoot_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (procFd < 0)
        return ProcessPresence::Unknown;
    if (++scan_ == 0)
        scan_ = 1; // 0 marks a name never seen
    now_ = ticksSinceBoot();
    const bool anyName = !wanted.empty() && wanted.find('\0') == std::string_view::npos;
    // Read before the list, so that a process started while it is walked
    // moves it past what was seen.
    const long long last = anyName ? lastPidIfOurs(procFd) : -1;
    // After a whole walk, a call lists only the pids above the last one
    // handed out before it, and looks at the known processes. A pid is
    // handed out a moment before its process shows in the list, so the
    // list starts kPidsInFlight below. Once in every kRefreshEvery calls,
    // and whenever the pids wrapped around, the whole list.
    const bool canStartAbove = listing_.pidOffset != kNoOffset && listing_.pidOffset != kUnlearned;
    bool whole = last < 0 || listing_.lastPid < 0 || last < listing_.lastPid || known_.empty() ||
                 scan_ % kRefreshEvery == 0 || !canStartAbove;
    if (!whole) {
        const long long from = std::max(listing_.lastPid - kPidsInFlight + 1, 1LL);
        if (lseek(procFd, static_cast<off_t>(from + listing_.pidOffset), SEEK_SET) < 0) {
            listing_.pidOffset = kNoOffset;
            whole = true;
        }
    }
    bool found = false;
    int processes = 0;
    const bool listed = visitEntries(procFd, wanted, anyName, processes, found);
    if (!whole) {
        char pid[24];
        for (auto it = known_.begin(); listed && !found && it != known_.end(); ++it) {
            if (it->second.seenInScan == scan_)
                continue;
            const auto [end, error] = std::to_chars(pid, pid + sizeof pid, it->first);
            found = processAnswersTo(procFd, std::string_view(pid, static_cast<std::size_t>(end - pid)),
                                     it->second.entry, it->first, it->second, wanted);
            ++processes;
        }
    }
    close(procFd);
    if (found)
        return ProcessPresence::Running;
    // This process itself is always in a real list: an empty one was never
    // read.
    if (!listed || processes == 0) {
        listing_.lastPid = -1;
        return ProcessPresence::Unknown;
    }
    if (anyName) {
        // Every process was looked at: forget the ones that have gone.
        listing_.lastPid = last;
        if (known_.size() > kMostRemembered) {
            known_.clear();
            listing_.lastPid = -1;
        }
        std::erase_if(known_, [this](const auto& entry) { return entry.second.seenInScan != scan_; });
    }
    return ProcessPresence::NotRunning;
}

long long ProcFsProcessQuery::lastPidIfOurs(int procFd)
{
    // Only the kernel's own table of this process's pid namespace knows it:
    // not a table laid out elsewhere, nor a load file put over it by a
    // container's file system.
    if (ours_ < 0) {
        char self[24];
        const ssize_t length = readlinkat(procFd, "self", self, sizeof self);
        bool kernels = false;
        if (const int fd = openat(procFd, "loadavg", O_RDONLY | O_CLOEXEC | O_NOCTTY); fd >= 0) {
            struct statfs fs = {};
            kernels = fstatfs(fd, &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
            close(fd);
        }
        ours_ = kernels && length > 0 && std::string_view(self, static_cast<std::size_t>(length)) == ownPid_ ? 1 : 0;
    }
    return ours_ == 1 ? lastPid(procFd) : -1;
}

bool ProcFsProcessQuery::answersTo(qint64 pid, const QString& name)
{
    const QByteArray encoded = QFile::encodeName(name);
    const std::string_view wanted(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    const std::string pidText = std::to_string(pid);
    if (wanted.empty() || wanted.find('\0') != std::string_view::npos || pid <= 0 || pidText == ownPid_)
        return false;
    adoptPreparation();
    now_ = ticksSinceBoot();
    const int procFd = open(procRoot_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (procFd < 0)
        return false;
    struct stat entry = {};
    const auto key = static_cast<std::uint64_t>(pid);
    const bool answers = fstatat(procFd, pidText.c_str(), &entry, 0) == 0 &&
                         processAnswersTo(procFd, pidText, entry.st_ino, key, known_[key], wanted);
    close(procFd);
    return answers;
}

} // namespace zb
