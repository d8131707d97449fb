#include "platform/SystemServices.h"

#include "LinuxJournalFile.h"
#include "LinuxSingleInstance.h"
#include "PosixCommandShell.h"
#include "PosixLauncher.h"
#include "ProcFsProcessQuery.h"
#include "ProcessCrontab.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <clocale>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace zb {

std::unique_ptr<Launcher> createSystemLauncher() { return std::make_unique<PosixLauncher>(); }

std::unique_ptr<ProcessQuery> createSystemProcessQuery() { return std::make_unique<ProcFsProcessQuery>(); }

std::unique_ptr<SingleInstance> createSystemSingleInstance()
{
    return std::make_unique<LinuxSingleInstance>(LinuxSingleInstance::runtimeFolder());
}

std::unique_ptr<CommandShell> createSystemCommandShell() { return std::make_unique<PosixCommandShell>(); }
std::unique_ptr<Crontab> createSystemCrontab()
{
    return std::make_unique<ProcessCrontab>(ProcessCrontab::findProgram());
}

std::unique_ptr<JournalFile> createSystemJournalFile(const QString& name)
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return std::make_unique<LinuxJournalFile>(base + QStringLiteral("/ZB-SEQUENTA"), name);
}

QString systemSettingsFilePath()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/ZB-SEQUENTA/ZB-SEQUENTA.ini");
}

bool standardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void useProgramLanguageForSystemMessages() { std::setlocale(LC_MESSAGES, "C"); }

namespace {

// Whether something listens on the socket of local X display `number`: the
// abstract socket the X server opens, or its file in /tmp/.X11-unix.
bool localXServerAnswers(int number)
{
    const QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(number);
    for (const bool abstract : {true, false}) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::size_t offset = abstract ? 1 : 0; // a leading NUL names an abstract socket
        std::memcpy(address.sun_path + offset, path.constData(), static_cast<std::size_t>(path.size()));
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + path.size());
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return true; // cannot tell: let Qt try
        const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), length) == 0;
        close(fd);
        if (connected)
            return true;
    }
    return false;
}

} // namespace

QString displayProblem()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    const QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        return QStringLiteral("none is set (DISPLAY or WAYLAND_DISPLAY)");
    // ":N", ":N.S" or "unix:N" is a local server; a remote one is left to Qt.
    static const QRegularExpression local(QStringLiteral("^(?:unix)?:(\\d+)(?:\\.\\d+)?$"));
    const QRegularExpressionMatch match = local.match(display);
    if (match.hasMatch() && !localXServerAnswers(match.captured(1).toInt()))
        return QStringLiteral("the display %1 does not answer").arg(display);
    return {};
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
