#include "PosixLauncher.h"

#include "PlainFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zb {

namespace {

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

QString resolveProgram(const QString& program)
{
    if (program.contains(QLatin1Char('/')))
        return program;
    return QStandardPaths::findExecutable(program);
}

// Retries a call that a signal interrupted.
template <typename F>
auto retry(F f)
{
    decltype(f()) r;
    do {
        r = f();
    } while (r == -1 && errno == EINTR);
    return r;
}

qint64 monotonicMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<qint64>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// A file descriptor that reports when its process ends, or -1 where the
// kernel has none (before Linux 5.3) or a sandbox refuses it.
int openPidFd(pid_t pid, bool wanted)
{
#ifdef SYS_pidfd_open
    if (wanted)
        return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    errno = ENOSYS;
    return -1;
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

// Where a task's output goes: the file, made with its folder; -1 and *error
// when there is no file to give, or no plain file.
int openOutput(const QString& path, QString* error)
{
    if (path.isEmpty())
        return -1;
    QDir().mkpath(QFileInfo(path).absolutePath());
    return openPlainFile(path, O_WRONLY | O_CREAT | O_APPEND, error);
}

// Runs in the forked child: only async-signal-safe calls from here on.
[[noreturn]] void execChild(const char* file, char* const* argv, bool quiet, int output, int errorPipe)
{
    setsid();
    // The program's own handlers and blocked signals are not the task's.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int s : {SIGTERM, SIGINT, SIGHUP, SIGCHLD, SIGPIPE})
        signal(s, SIG_DFL);
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        if (quiet) {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
    }
    if (output >= 0 && !quiet) {
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
    }
    execv(file, argv);
    const int error = errno;
    (void)!write(errorPipe, &error, sizeof error);
    _exit(127);
}

// How often ended children are looked for where no pidfd tells.
constexpr int kPollMs = 250;

bool haveEventLoop()
{
    return QCoreApplication::instance() != nullptr &&
           QThread::currentThread() == QCoreApplication::instance()->thread();
}

} // namespace

struct PosixLauncher::Child {
    qint64 startedMs = 0;
    int pidFd = -1;
    std::unique_ptr<QSocketNotifier> notifier;

    ~Child()
    {
        // The notifier may be the one whose signal is being handled.
        if (notifier) {
            notifier->setEnabled(false);
            notifier.release()->deleteLater();
        }
        if (pidFd >= 0)
            close(pidFd);
    }
};

PosixLauncher::PosixLauncher() = default;

// Children that still run are left running; they are no longer watched.
PosixLauncher::~PosixLauncher() = default;

QStringList PosixLauncher::splitCommand(const QString& commandLine)
{
    if (isExecutableFile(commandLine))
        return {commandLine};
    return QProcess::splitCommand(commandLine);
}

LaunchResult PosixLauncher::launch(const QString& commandLine, WindowStyle style)
{
    return start(splitCommand(commandLine), style, QString());
}

LaunchResult PosixLauncher::launchArgv(const QStringList& words, WindowStyle style)
{
    return start(words, style, QString());
}

LaunchResult PosixLauncher::launchLogged(const QString& commandLine, const QString& outputFile)
{
    return start(splitCommand(commandLine), WindowStyle::NormalFocus, outputFile);
}

LaunchResult PosixLauncher::start(const QStringList& words, WindowStyle style, const QString& outputFile)
{
    reapEnded(); // what no event loop has reaped yet
    if (words.isEmpty())
        return {false, QStringLiteral("empty command")};
    const QString program = resolveProgram(words.first());
    if (program.isEmpty())
        return {false, QStringLiteral("no such program: %1").arg(words.first())};

    // Everything the child needs is prepared before fork.
    const std::string file = QFile::encodeName(program).toStdString();
    std::vector<std::string> args;
    args.reserve(static_cast<std::size_t>(words.size()));
    for (const QString& w : words)
        args.push_back(QFile::encodeName(w).toStdString());
    std::vector<char*> argv;
    argv.reserve(args.size() + 1);
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const bool quiet = style == WindowStyle::Hidden;

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return {false, QString::fromLocal8Bit(std::strerror(errno))};
    QString outputError;
    const int output = openOutput(outputFile, &outputError);

    // One fork: the task stays our child, so that its end can be told, in a
    // session of its own, so that it outlives the program.
    const qint64 startedMs = monotonicMs();
    const pid_t child = fork();
    if (child == 0)
        execChild(file.c_str(), argv.data(), quiet || !outputError.isEmpty(), output, fds[1]);
    const int forkError = errno;
    close(fds[1]);
    if (output >= 0)
        close(output);
    if (child < 0) {
        close(fds[0]);
        return {false, QString::fromLocal8Bit(std::strerror(forkError))};
    }

    // The pipe closes on a successful exec, or carries exec's error.
    int execError = 0;
    const ssize_t got = retry([&] { return read(fds[0], &execError, sizeof execError); });
    close(fds[0]);
    if (got == static_cast<ssize_t>(sizeof execError)) {
        int status = 0;
        retry([&] { return waitpid(child, &status, 0); });
        return {false, QString::fromLocal8Bit(std::strerror(execError))};
    }

    auto entry = std::make_unique<Child>();
    entry->startedMs = startedMs;
    children_[child] = std::move(entry);
    watch(child);
    return {true, QString(), child, outputError};
}

void PosixLauncher::watch(int pid)
{
    if (!haveEventLoop())
        return;
    Child& c = *children_.at(pid);
    c.pidFd = openPidFd(pid, usePidFds);
    if (c.pidFd < 0) {
        if (!poll_) {
            poll_ = std::make_unique<QTimer>();
            poll_->callOnTimeout([this] {
                reapEnded();
                if (std::none_of(children_.cbegin(), children_.cend(),
                                 [](const auto& child) { return !child.second->notifier; }))
                    poll_->stop();
            });
        }
        if (!poll_->isActive())
            poll_->start(kPollMs);
        return;
    }
    c.notifier = std::make_unique<QSocketNotifier>(c.pidFd, QSocketNotifier::Read);
    QObject::connect(c.notifier.get(), &QSocketNotifier::activated, c.notifier.get(), [this, pid] { reap(pid); });
}

bool PosixLauncher::signalGroup(qint64 pid, StopSignal signal)
{
    // Each task leads a session, and so a group, of its own: the group
    // reaches what the task started too. A group id is not given to a new
    // process while the group has members, so the signal reaches no stranger.
    if (pid <= 1)
        return false;
    return ::killpg(static_cast<pid_t>(pid), signal == StopSignal::Kill ? SIGKILL : SIGTERM) == 0;
}

bool PosixLauncher::awaitEnd(qint64 pid, int timeoutMs)
{
    const auto found = children_.find(static_cast<int>(pid));
    if (found == children_.end())
        return true; // reaped and reported already
    Child& c = *found->second;
    if (c.pidFd < 0)
        c.pidFd = openPidFd(static_cast<pid_t>(pid), usePidFds);
    const qint64 deadline = monotonicMs() + timeoutMs;
    while (!reap(static_cast<int>(pid))) {
        const qint64 left = deadline - monotonicMs();
        if (left <= 0)
            return false;
        if (c.pidFd >= 0) {
            pollfd ready{c.pidFd, POLLIN, 0};
            retry([&] { return poll(&ready, 1, static_cast<int>(std::min<qint64>(left, 1000))); });
        } else {
            usleep(20'000); // a kernel without pidfds: look again shortly
        }
    }
    return true;
}

int PosixLauncher::reapEnded()
{
    std::vector<int> pids;
    for (const auto& [pid, child] : children_)
        pids.push_back(pid);
    int reaped = 0;
    for (int pid : pids)
        reaped += reap(pid) ? 1 : 0;
    return reaped;
}

bool PosixLauncher::reap(int pid)
{
    const auto found = children_.find(pid);
    if (found == children_.end())
        return false;
    int status = 0;
    const pid_t got = retry([&] { return waitpid(pid, &status, WNOHANG); });
    if (got == 0)
        return false;
    ProcessEnd end;
    end.pid = pid;
    end.runMs = monotonicMs() - found->second->startedMs;
    if (got == pid && WIFSIGNALED(status))
        end.signal = WTERMSIG(status);
    else if (got == pid && WIFEXITED(status))
        end.exitCode = WEXITSTATUS(status);
    children_.erase(found);
    if (got == pid && onEnded)
        onEnded(end);
    return got == pid;
}

} // namespace zb
