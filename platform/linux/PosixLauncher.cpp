#include "PosixLauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
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

// Runs in the forked children: only async-signal-safe calls from here on.
[[noreturn]] void execGrandchild(const char* file, char* const* argv, bool quiet, int errorPipe)
{
    const int devNull = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (devNull >= 0) {
        dup2(devNull, STDIN_FILENO);
        if (quiet) {
            dup2(devNull, STDOUT_FILENO);
            dup2(devNull, STDERR_FILENO);
        }
    }
    execv(file, argv);
    const int error = errno;
    (void)!write(errorPipe, &error, sizeof error);
    _exit(127);
}

} // namespace

QStringList PosixLauncher::splitCommand(const QString& commandLine)
{
    if (isExecutableFile(commandLine))
        return {commandLine};
    return QProcess::splitCommand(commandLine);
}

LaunchResult PosixLauncher::launch(const QString& commandLine, WindowStyle style)
{
    return launchArgv(splitCommand(commandLine), style);
}

LaunchResult PosixLauncher::launchArgv(const QStringList& words, WindowStyle style)
{
    if (words.isEmpty())
        return {false, QStringLiteral("empty command")};
    const QString program = resolveProgram(words.first());
    if (program.isEmpty())
        return {false, QStringLiteral("no such program: %1").arg(words.first())};

    // Everything the children need is prepared before fork.
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

    // Fork twice so that the started process belongs to nobody here: it gets
    // its own session and is never left as a zombie of ours.
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(fds[0]);
        close(fds[1]);
        return {false, QString::fromLocal8Bit(std::strerror(error))};
    }
    if (child == 0) {
        close(fds[0]);
        setsid();
        const pid_t grandchild = fork();
        if (grandchild == 0)
            execGrandchild(file.c_str(), argv.data(), quiet, fds[1]);
        if (grandchild < 0) {
            const int error = errno;
            (void)!write(fds[1], &error, sizeof error);
        }
        _exit(0);
    }

    close(fds[1]);
    int status = 0;
    retry([&] { return waitpid(child, &status, 0); });
    int execError = 0;
    const ssize_t got = retry([&] { return read(fds[0], &execError, sizeof execError); });
    close(fds[0]);
    if (got == static_cast<ssize_t>(sizeof execError))
        return {false, QString::fromLocal8Bit(std::strerror(execError))};
    return {true, QString()};
}

} // namespace zb
