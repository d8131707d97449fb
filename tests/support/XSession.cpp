#include "XSession.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>

namespace zb::test {

namespace {

// True once a window manager has claimed the screen and is ready to manage
// windows: it publishes the work area among its last start-up steps, and a
// window mapped before that may be left undecorated.
bool windowManagerRunning(const QString& display)
{
    QProcess xprop;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display);
    xprop.setProcessEnvironment(env);
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-root"), QStringLiteral("_NET_WORKAREA")});
    if (!xprop.waitForFinished(5000))
        return false;
    return xprop.exitCode() == 0 && xprop.readAllStandardOutput().contains(" = ");
}

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(3000)) {
        process.kill();
        process.waitForFinished(3000);
    }
}

} // namespace

QString XSession::defaultWindowManager()
{
    const QString named = qEnvironmentVariable("ZB_TEST_WINDOW_MANAGER");
    return named.isEmpty() ? QStringLiteral("openbox") : named;
}

XSession::XSession() : XSession(Options{}) {}

XSession::XSession(const Options& options)
{
    if (startServer(options.screen) && !options.windowManager.isEmpty())
        startWindowManager(options.windowManager);
}

XSession::~XSession()
{
    // Every window manager ends with its server; ended first, one behind a
    // session bus of its own would leave the bus behind.
    stop(server_);
    windowManager_.waitForFinished(3000);
    stop(windowManager_);
}

bool XSession::startServer(const QString& screen)
{
    // -displayfd 1: the server picks a free display and prints its number.
    // Its log goes nowhere: an unread pipe would fill and stall the server.
    server_.setStandardErrorFile(QProcess::nullDevice());
    server_.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                           QStringLiteral("0"), screen, QStringLiteral("-nolisten"),
                                           QStringLiteral("tcp"), QStringLiteral("-dpi"), QStringLiteral("96")});
    if (!server_.waitForStarted(5000)) {
        error_ = QStringLiteral("Xvfb could not be started: ") + server_.errorString();
        return false;
    }
    QByteArray number;
    const QDeadlineTimer deadline(15000);
    while (!number.contains('\n') && !deadline.hasExpired() && server_.state() == QProcess::Running) {
        server_.waitForReadyRead(200);
        number += server_.readAllStandardOutput();
    }
    if (!number.contains('\n')) {
        error_ =
            QStringLiteral("Xvfb did not report a display: ") + QString::fromLocal8Bit(server_.readAllStandardError());
        return false;
    }
    display_ = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    return true;
}

bool XSession::startWindowManager(const QString& name)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), display_);
    windowManager_.setProcessEnvironment(env);
    windowManager_.setStandardOutputFile(QProcess::nullDevice());
    windowManager_.setStandardErrorFile(windowManagerLog_.open() ? windowManagerLog_.fileName()
                                                                 : QProcess::nullDevice());
    // xfwm4 keeps its settings behind a session bus: a private one.
    const bool xfwm4 = name == QStringLiteral("xfwm4");
    const QStringList arguments = name == QStringLiteral("openbox") ? QStringList{QStringLiteral("--sm-disable")}
                                  : xfwm4 ? QStringList{QStringLiteral("--"), name, QStringLiteral("--compositor=off")}
                                          : QStringList{};
    windowManager_.start(xfwm4 ? QStringLiteral("dbus-run-session") : name, arguments);
    if (!windowManager_.waitForStarted(5000)) {
        error_ = name + QStringLiteral(" could not be started: ") + windowManager_.errorString();
        return false;
    }
    const QDeadlineTimer deadline(15000);
    while (!deadline.hasExpired() && windowManager_.state() == QProcess::Running) {
        if (windowManagerRunning(display_))
            return true;
        windowManager_.waitForFinished(50); // also notices an end
    }
    error_ =
        windowManager_.state() == QProcess::Running
            ? name + QStringLiteral(" did not take the screen in 15 s")
            : name + QStringLiteral(" ended before it took the screen, exit code %1").arg(windowManager_.exitCode());
    error_ += QStringLiteral("; it said: ") + QString::fromLocal8Bit(windowManagerLog_.readAll().right(600));
    return false;
}

void XSession::exportToEnvironment() const
{
    qputenv("DISPLAY", display_.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace zb::test
