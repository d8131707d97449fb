// The process query as it was before it kept anything between calls: every
// call reads the executable link, the command name and the command line of
// each process afresh. Kept as the benchmark's baseline.
#include "BaselineProcFsScan.h"

#include "platform/linux/ProcFsNameMatch.h"

#include <QFile>

#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace zb::bench {

namespace {

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

// Whether the process still runs: its state, read after the last ')' of
// "pid (comm) S ...", is neither zombie nor dead.
bool isAlive(int procFd, std::string_view pid)
{
    char stat[512];
    const ssize_t got = readProcFile(procFd, ProcPath(pid, "stat"), stat, sizeof stat);
    if (got <= 0)
        return false;
    const std::string_view text(stat, static_cast<std::size_t>(got));
    const std::size_t commEnd = text.rfind(')');
    if (commEnd == std::string_view::npos || commEnd + 2 >= text.size())
        return false;
    const char state = text[commEnd + 2];
    return state != 'Z' && state != 'X' && state != 'x';
}

// The command name, without the kernel's line end; empty when unreadable.
std::string_view readComm(int procFd, std::string_view pid, char (&buf)[64])
{
    const ssize_t got = readProcFile(procFd, ProcPath(pid, "comm"), buf, sizeof buf);
    std::string_view comm(buf, got > 0 ? static_cast<std::size_t>(got) : 0);
    if (comm.ends_with('\n'))
        comm.remove_suffix(1);
    return comm;
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

// Each /proc file costs an open, so the cheapest name comes first and the
// command name is read only when it could settle the match.
bool answersTo(int procFd, std::string_view pid, std::string_view name)
{
    char comm[64];
    char exe[PATH_MAX];
    const ssize_t exeLength = readlinkat(procFd, ProcPath(pid, "exe").c_str(), exe, sizeof exe);
    if (exeLength < 0 && errno == ENOENT) {
        // No program image: a kernel thread, a zombie, or gone. Its command
        // line is empty, so only the command name can match.
        return procfs::commMatches(readComm(procFd, pid, comm), name) && isAlive(procFd, pid);
    }
    std::string_view exeName;
    if (exeLength >= 0 && static_cast<std::size_t>(exeLength) < sizeof exe) {
        std::string_view target(exe, static_cast<std::size_t>(exeLength));
        // A program whose file was replaced since it started keeps its name.
        constexpr std::string_view kDeleted = " (deleted)";
        if (target.ends_with(kDeleted))
            target.remove_suffix(kDeleted.size());
        exeName = procfs::fileNameOf(target);
    }
    if (exeName == name)
        return isAlive(procFd, pid);
    if (name.size() < procfs::kCommLength && procfs::commMatches(readComm(procFd, pid, comm), name))
        return isAlive(procFd, pid);

    char cmdline[4096];
    return procfs::fullNameMatches(exeName, readCmdline(procFd, pid, cmdline), name) && isAlive(procFd, pid);
}

} // namespace

bool baselineIsProcessRunning(const QString& name)
{
    const QByteArray encoded = QFile::encodeName(name);
    const std::string_view wanted(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    if (wanted.empty() || wanted.find('\0') != std::string_view::npos)
        return false;

    const int procFd = open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (procFd < 0)
        return false;
    bool found = false;
    alignas(dirent64) char entries[16384];
    while (!found) {
        const ssize_t got = getdents64(procFd, entries, sizeof entries);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got && !found;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            at += entry->d_reclen;
            const std::string_view pid(entry->d_name);
            if (isPid(pid))
                found = answersTo(procFd, pid, wanted);
        }
    }
    close(procFd);
    return found;
}

} // namespace zb::bench
