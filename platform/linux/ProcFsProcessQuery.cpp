#include "ProcFsProcessQuery.h"

#include "ProcFsNameMatch.h"

#include <QFile>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace zb {

namespace {

// Past this many remembered processes the memory is dropped and built again.
constexpr std::size_t kMostRemembered = 16384;

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

// The command name and state from "pid (comm) S ...": the command name lies
// between the first '(' and the last ')', as it may hold either.
bool readStat(int procFd, std::string_view pid, char (&buf)[512], std::string_view& comm, char& state)
{
    const ssize_t got = readProcFile(procFd, ProcPath(pid, "stat"), buf, sizeof buf);
    if (got <= 0)
        return false;
    const std::string_view text(buf, static_cast<std::size_t>(got));
    const std::size_t open = text.find('(');
    const std::size_t close = text.rfind(')');
    if (open == std::string_view::npos || close == std::string_view::npos || close < open || close + 2 >= text.size())
        return false;
    comm = text.substr(open + 1, close - open - 1);
    state = text[close + 2];
    return true;
}

bool isAlive(char state) { return state != 'Z' && state != 'X' && state != 'x'; }

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

// Reads what the executable link does not tell: the command name, the state
// and the names from the command line. False when the process has gone.
bool readDetails(int procFd, std::string_view pid, ProcFsProcessQuery::Known& known)
{
    char stat[512];
    std::string_view comm;
    char state = '?';
    if (!readStat(procFd, pid, stat, comm, state))
        return false;
    known.comm.assign(comm);
    known.alive = isAlive(state);
    if (known.exeError == ENOENT) {
        // No program image: a kernel thread, a zombie, or gone. Its command
        // line is empty, so only the command name can match.
        known.exe.clear();
        known.firstWord.clear();
        known.script.clear();
        return true;
    }
    std::string_view exeName;
    if (known.exeError == 0 && known.exeTarget.size() < PATH_MAX) {
        std::string_view target = known.exeTarget;
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
    return true;
}

bool answersTo(const ProcFsProcessQuery::Known& known, std::string_view name)
{
    return procfs::commMatches(known.comm, name) ||
           procfs::fullNamesMatch({known.exe, known.firstWord, known.script}, name);
}

} // namespace

ProcFsProcessQuery::ProcFsProcessQuery(std::string procRoot)
    : procRoot_(std::move(procRoot)),
      ownPid_(std::to_string(getpid()))
{}

bool ProcFsProcessQuery::processAnswersTo(int procFd, std::string_view pid, ino_t entry, std::string_view name)
{
    char exe[PATH_MAX];
    const ssize_t exeLength = readlinkat(procFd, ProcPath(pid, "exe").c_str(), exe, sizeof exe);
    const int exeError = exeLength < 0 ? errno : 0;
    const std::string_view exeTarget(exe, exeLength > 0 ? static_cast<std::size_t>(exeLength) : 0);

    std::uint64_t key = 0;
    std::from_chars(pid.data(), pid.data() + pid.size(), key);
    Known& known = known_[key];
    const bool sameProcess =
        known.seenInScan != 0 && known.entry == entry && known.exeError == exeError && known.exeTarget == exeTarget;
    const bool dueForRefresh = (key + scan_) % kRefreshEvery == 0;
    bool fresh = false;
    if (!sameProcess || dueForRefresh) {
        known.entry = entry;
        known.exeError = exeError;
        known.exeTarget.assign(exeTarget);
        if (!readDetails(procFd, pid, known)) {
            known.seenInScan = 0;
            return false;
        }
        fresh = true;
    }
    known.seenInScan = scan_;
    if (!zb::answersTo(known, name))
        return false;
    // Kept names may be out of date: only what is read now counts.
    if (!fresh && (!readDetails(procFd, pid, known) || !zb::answersTo(known, name)))
        return false;
    return known.alive;
}

ProcessPresence ProcFsProcessQuery::isProcessRunning(const QString& name)
{
    const QByteArray encoded = QFile::encodeName(name);
    const std::string_view wanted(encoded.constData(), static_cast<std::size_t>(encoded.size()));

    const int procFd = open(procRoot_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (procFd < 0)
        return ProcessPresence::Unknown;
    if (++scan_ == 0)
        scan_ = 1; // 0 marks a name never seen
    const bool anyName = !wanted.empty() && wanted.find('\0') == std::string_view::npos;
    bool found = false;
    bool readError = false;
    int processes = 0;
    alignas(dirent64) char entries[16384];
    while (!found) {
        const ssize_t got = getdents64(procFd, entries, sizeof entries);
        if (got <= 0) {
            readError = got < 0;
            break;
        }
        for (ssize_t at = 0; at < got && !found;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            at += entry->d_reclen;
            const std::string_view pid(entry->d_name);
            if (!isPid(pid))
                continue;
            ++processes;
            found = anyName && pid != ownPid_ && processAnswersTo(procFd, pid, entry->d_ino, wanted);
        }
        // A name no process can have needs only the proof that the list
        // can be read.
        if (!anyName && processes > 0)
            break;
    }
    close(procFd);
    if (found)
        return ProcessPresence::Running;
    // This process itself is always in a real list: an empty one was never
    // read.
    if (readError || processes == 0)
        return ProcessPresence::Unknown;
    if (anyName) {
        // The whole list was walked: forget the processes that have gone.
        if (known_.size() > kMostRemembered)
            known_.clear();
        std::erase_if(known_, [this](const auto& entry) { return entry.second.seenInScan != scan_; });
    }
    return ProcessPresence::NotRunning;
}

bool ProcFsProcessQuery::answersTo(qint64 pid, const QString& name)
{
    const QByteArray encoded = QFile::encodeName(name);
    const std::string_view wanted(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    const std::string pidText = std::to_string(pid);
    if (wanted.empty() || wanted.find('\0') != std::string_view::npos || pid <= 0 || pidText == ownPid_)
        return false;
    const int procFd = open(procRoot_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (procFd < 0)
        return false;
    struct stat entry = {};
    const bool answers =
        fstatat(procFd, pidText.c_str(), &entry, 0) == 0 && processAnswersTo(procFd, pidText, entry.st_ino, wanted);
    close(procFd);
    return answers;
}

} // namespace zb
