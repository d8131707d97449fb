#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryFile>

namespace zb::test {

// A private X server (Xvfb) with a decorating window manager on it (openbox,
// or the one named by ZB_TEST_WINDOW_MANAGER: openbox, icewm or xfwm4), for tests
// that must see what a user's desktop does to windows. The display
// number is chosen by the server itself, so parallel test runs never collide.
// Everything started is ended by the destructor.
class XSession {
public:
    struct Options {
        // Empty: none.
        QString windowManager = defaultWindowManager();
        QString screen = QStringLiteral("1280x1024x24");
    };

    static QString defaultWindowManager();

    XSession();
    explicit XSession(const Options& options);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // False when Xvfb (or the window manager, when asked for) could not be
    // started; error() says why.
    bool ok() const { return error_.isEmpty(); }
    const QString& error() const { return error_; }
    // False once the X server has ended, whoever ended it.
    bool serverRunning() const { return server_.state() == QProcess::Running; }
    // ":N", ready to be put in DISPLAY.
    const QString& display() const { return display_; }

    // Points this process's DISPLAY at the session and selects Qt's xcb platform.
    void exportToEnvironment() const;

private:
    bool startServer(const QString& screen);
    bool startWindowManager(const QString& name);

    QProcess server_;
    QProcess windowManager_;
    // What the window manager says, told when it does not take the screen.
    QTemporaryFile windowManagerLog_;
    QString display_;
    QString error_;
};

} // namespace zb::test
