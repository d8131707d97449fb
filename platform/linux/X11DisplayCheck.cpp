#include "platform/DisplayCheck.h"

#include <QRegularExpression>

#include <fcntl.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace zb {

QString displayRefusal()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    const QString display = qEnvironmentVariable("DISPLAY");
    // A remote display could keep us waiting: it is left to Qt.
    static const QRegularExpression local(QStringLiteral("^(?:unix)?:\\d+(?:\\.\\d+)?$"));
    if (!local.match(display).hasMatch())
        return {};
    // libxcb writes the server's reason for a refusal to stderr itself; the
    // caller says it in one line of its own. Nothing else runs meanwhile.
    const int savedStderr = dup(STDERR_FILENO);
    if (const int null = open("/dev/null", O_WRONLY | O_CLOEXEC); null >= 0) {
        dup2(null, STDERR_FILENO);
        close(null);
    }
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (savedStderr >= 0) {
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
    }
    if (error == 0)
        return {};
    return QStringLiteral("the display %1 refuses the connection (no valid authorization in XAUTHORITY)").arg(display);
}

} // namespace zb
