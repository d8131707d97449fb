#include "platform/SystemServices.h"

#include "PosixCommandShell.h"
#include "PosixLauncher.h"
#include "ProcFsProcessQuery.h"

#include <QCoreApplication>
#include <QDir>
#include <QSocketNotifier>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace zb {

std::unique_ptr<Launcher> createSystemLauncher() { return std::make_unique<PosixLauncher>(); }

std::unique_ptr<ProcessQuery> createSystemProcessQuery() { return std::make_unique<ProcFsProcessQuery>(); }

std::unique_ptr<CommandShell> createSystemCommandShell() { return std::make_unique<PosixCommandShell>(); }

QString systemSettingsFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/ZB-SEQUENTA/ZB-SEQUENTA.ini");
}

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int signalNumber)
{
    const char byte = static_cast<char>(signalNumber);
    (void)!write(signalPipe[1], &byte, 1);
}

} // namespace

void installShutdownRequestHandler(std::function<void()> onRequest)
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    // The handler only writes a byte; the event loop does the real work.
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [cb = std::move(onRequest)] {
        char byte = 0;
        (void)!read(signalPipe[0], &byte, 1);
        cb();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaction(s, &action, nullptr);
}

} // namespace zb
