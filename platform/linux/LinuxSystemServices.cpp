#include "platform/SystemServices.h"

#include "LinuxJournalFile.h"
#include "LinuxSingleInstance.h"
#include "PosixCommandShell.h"
#include "PosixLauncher.h"
#include "ProcFsProcessQuery.h"
#include "ProcessCrontab.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSocketNotifier>

#include <clocale>
#include <csignal>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zb {

std::unique_ptr<Launcher> createSystemLauncher() { return std::make_unique<PosixLauncher>(); }

std::unique_ptr<ProcessQuery> createSystemProcessQuery() { return std::make_unique<ProcFsProcessQuery>(); }

namespace {

// This user's state folder, where the journals live.
QString stateFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/ZB-SEQUENTA");
}

} // namespace

std::unique_ptr<SingleInstance> createSystemSingleInstance()
{
    // Beside the settings file; in the state folder where the settings
    // folder cannot hold files (read-only, or a file in its place).
    return std::make_unique<LinuxSingleInstance>(LinuxSingleInstance::lockFolderFor(systemSettingsFilePath()),
                                                 stateFolder() + QStringLiteral("/locks"));
}

std::unique_ptr<CommandShell> createSystemCommandShell() { return std::make_unique<PosixCommandShell>(); }
std::unique_ptr<Crontab> createSystemCrontab()
{
    return std::make_unique<ProcessCrontab>(ProcessCrontab::findProgram());
}

std::unique_ptr<JournalFile> createSystemJournalFile(const QString& name)
{
    return std::make_unique<LinuxJournalFile>(stateFolder(), name);
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

// Whether an X server may listen on local display `number`. Told from the
// kernel's list of this system's Unix sockets, not by connecting: a client
// that comes and goes at once can make a server drop the connection that
// follows it, the program's own. A socket file that no listener in the list
// owns may still belong to a server in another network namespace: then the
// connection tells.
bool localXServerAnswers(int number)
{
    const QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(number);
    QFile sockets(QStringLiteral("/proc/net/unix"));
    if (!sockets.open(QIODevice::ReadOnly))
        return true; // cannot tell: let the connection say
    // "Num RefCount Protocol Flags Type St Inode Path"; a listening socket
    // has __SO_ACCEPTCON (0x10000) among its flags; "@" names an abstract one.
    constexpr uint kListening = 0x10000;
    for (const QByteArray& line : sockets.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 8 && (fields[3].toUInt(nullptr, 16) & kListening) != 0 &&
            (fields[7] == path || (fields[7].startsWith('@') && fields[7].sliced(1) == path)))
            return true;
    }
    struct stat file = {};
    return stat(path.constData(), &file) == 0 && S_ISSOCK(file.st_mode);
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
    // Each signal is caught once, and caught again only once the event loop
    // has taken it: a program stuck where no event loop runs is ended by the
    // second one, as it would be without a handler.
    static struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [cb = std::move(onRequest)] {
        char byte = 0;
        if (read(signalPipe[0], &byte, 1) == 1)
            sigaction(static_cast<unsigned char>(byte), &action, nullptr);
        cb();
    });
    for (int s : {SIGTERM, SIGINT, SIGHUP})
        sigaction(s, &action, nullptr);
}

} // namespace zb
