#include "PosixCommandShell.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <memory>
#include <unistd.h>
#include <utility>

namespace zb {

void PosixCommandShell::run(const QString& commandLine, int timeoutMs, std::function<void(const CommandOutcome&)> done)
{
    // Owned by the application, so that a run still going at the program's
    // end is stopped with it.
    auto* process = new QProcess(QCoreApplication::instance());
    // The line may hold a secret: it goes in the environment, which only its
    // owner can read, never in a command line, which everyone can.
    process->setProgram(QStringLiteral("/bin/sh"));
    process->setArguments(
        {QStringLiteral("-c"), QStringLiteral("zb_line=$ZB_SHELL_LINE; unset ZB_SHELL_LINE; eval \"$zb_line\"")});
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZB_SHELL_LINE"), commandLine);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setChildProcessModifier([] { setpgid(0, 0); });

    auto timedOut = std::make_shared<bool>(false);
    auto* timer = new QTimer(process);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, process, [process, timedOut] {
        *timedOut = true;
        if (const qint64 pid = process->processId(); pid > 0)
            ::kill(-static_cast<pid_t>(pid), SIGKILL);
        process->kill();
    });

    auto finish = std::make_shared<std::function<void(const CommandOutcome&)>>(std::move(done));
    QObject::connect(process, &QProcess::finished, process,
                     [process, timedOut, finish](int exitCode, QProcess::ExitStatus status) {
                         CommandOutcome outcome;
                         outcome.started = true;
                         outcome.timedOut = *timedOut;
                         outcome.crashed = status == QProcess::CrashExit && !*timedOut;
                         outcome.exitCode = exitCode;
                         outcome.output = process->readAll();
                         process->deleteLater();
                         if (*finish)
                             std::exchange(*finish, nullptr)(outcome);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, finish](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        CommandOutcome outcome;
        outcome.error = process->errorString();
        process->deleteLater();
        if (*finish)
            std::exchange(*finish, nullptr)(outcome);
    });
    process->start();
    timer->start(timeoutMs);
}

} // namespace zb
