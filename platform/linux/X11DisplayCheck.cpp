#include "platform/DisplayCheck.h"

#include <QRegularExpression>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace zb {

namespace {

// The server's reason as one short line of plain text: it comes from another
// program and goes to the journal and stderr.
QString serverReason(const QByteArray& raw)
{
    QByteArray text;
    for (const char c : raw)
        text += (c >= 0x20 && c < 0x7f) ? c : ' ';
    text = text.simplified().left(200);
    return QString::fromLatin1(text);
}

} // namespace

QString displayRefusal()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    const QString display = qEnvironmentVariable("DISPLAY");
    // A remote display could keep us waiting: it is left to Qt.
    static const QRegularExpression local(QStringLiteral("^(?:unix)?:\\d+(?:\\.\\d+)?$"));
    if (!local.match(display).hasMatch())
        return {};
    // When the server turns the program away, libxcb writes the server's
    // reason to stderr: it is caught here and said in the caller's one line.
    // Nothing else runs meanwhile.
    int reasonPipe[2] = {-1, -1};
    const int savedStderr = dup(STDERR_FILENO);
    if (savedStderr >= 0 && pipe2(reasonPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        dup2(reasonPipe[1], STDERR_FILENO);
        close(reasonPipe[1]);
    }
    errno = 0;
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const int error = xcb_connection_has_error(connection);
    const int connectError = errno; // what the socket said, when nobody listens
    xcb_disconnect(connection);
    if (savedStderr >= 0) {
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
    }
    QByteArray reason;
    if (reasonPipe[0] >= 0) {
        char buffer[512];
        for (ssize_t n = 0; (n = read(reasonPipe[0], buffer, sizeof buffer)) > 0 && reason.size() < 2048;)
            reason.append(buffer, n);
        close(reasonPipe[0]);
    }
    if (error == 0)
        return {};
    const QString said = serverReason(reason);
    if (said.isEmpty() && (connectError == ECONNREFUSED || connectError == ENOENT))
        return QStringLiteral("the display %1 does not answer").arg(display);
    if (said.isEmpty())
        return QStringLiteral("the display %1 closed the connection before letting the program in").arg(display);
    return QStringLiteral("the display %1 refuses the connection: %2").arg(display, said);
}

} // namespace zb
