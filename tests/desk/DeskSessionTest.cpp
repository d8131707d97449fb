// The desk in a session without an X server (Qt's offscreen platform), and
// the screensaver inhibition against a stand-in service on a private session
// bus.
#include "DeskProgram.h"
#include "platform/fake/SimulatedClock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace zb {
namespace {

using test::DeskProgram;

// One private session bus for the whole run, made this process's session bus
// before anything connects to it.
const QString& privateBus()
{
    static QProcess daemon;
    static const QString address = [] {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        QByteArray out;
        const QDeadlineTimer deadline(10000);
        while (!out.contains('\n') && !deadline.hasExpired() && daemon.state() != QProcess::NotRunning) {
            daemon.waitForReadyRead(100);
            out += daemon.readAllStandardOutput();
        }
        const QString a = QString::fromLatin1(out.trimmed());
        qputenv("DBUS_SESSION_BUS_ADDRESS", a.toLatin1());
        return a;
    }();
    return address;
}

// The stand-in screensaver service, and the calls it has answered.
class StandIn {
public:
    StandIn()
    {
        process_.start(QStringLiteral(ZB_STANDIN_PATH), {});
        ready = waitFor(QStringLiteral("READY"));
    }
    ~StandIn()
    {
        process_.kill();
        process_.waitForFinished();
    }
    // Waits for a line starting with `prefix` that has not been waited for yet.
    bool waitFor(const QString& prefix, int timeoutMs = 5000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (true) {
            for (int i = 0; i < lines_.size(); ++i)
                if (lines_[i].startsWith(prefix)) {
                    last = lines_.takeAt(i);
                    return true;
                }
            if (deadline.hasExpired() || process_.state() == QProcess::NotRunning)
                return false;
            process_.waitForReadyRead(50);
            pending_ += process_.readAllStandardOutput();
            while (pending_.contains('\n')) {
                const qsizetype end = pending_.indexOf('\n');
                lines_ << QString::fromUtf8(pending_.left(end));
                pending_.remove(0, end + 1);
            }
        }
    }
    QStringList unread()
    {
        waitFor(QStringLiteral("\x01"), 200); // collects what has come
        return lines_;
    }

    bool ready = false;
    QString last;

private:
    QProcess process_;
    QByteArray pending_;
    QStringList lines_;
};

// Whether the process has a handler of its own for SIGTERM.
bool catchesSigterm(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (SIGTERM - 1)) & 1U;
    return false;
}

TEST(DeskWithoutX, LockLightsTurnGreyAndTheCountdownSaysKeyPressesAreNotAvailable)
{
    privateBus(); // a bus without a screensaver service
    SimulatedClock clock;
    DeskProgram p(clock);
    MainWindowModel& m = p.start();
    EXPECT_FALSE(p.desk.keyboard->canPress());
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Heartbeat stopped; key presses are not available"));
    clock.advance(100);
    for (const TextField* light : {&m.VERT_NUM_LIGHT_LABEL, &m.VERT_CAPS_LIGHT_LABEL, &m.VERT_SCROLL_LIGHT_LABEL}) {
        EXPECT_NE(light->background(), colour::Green) << qPrintable(light->objectName());
        EXPECT_NE(light->background(), colour::Red) << qPrintable(light->objectName());
    }
    EXPECT_EQ(m.VERT_NUM_LIGHT_LABEL.toolTip(), QStringLiteral("NUM LOCK = UNKNOWN"));
    EXPECT_EQ(m.VERT_CAPS_LIGHT_LABEL.toolTip(), QStringLiteral("CAPS LOCK = UNKNOWN"));
    EXPECT_EQ(m.VERT_SCROLL_LIGHT_LABEL.toolTip(), QStringLiteral("SCROLL LOCK = UNKNOWN"));

    // Everything goes on as usual, with nothing to press and nothing to lift.
    MainWindowView& view = p.show();
    m.VERT_NUM_LIGHT_LABEL.doubleClick();
    m.KITT_START_BUTTON.click();
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Not keeping the session awake: key presses are not available and no screensaver "
                             "service answered"));
    clock.advance(303000);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:04:59"));
    EXPECT_EQ(m.KITT_BACKGROUND_LABEL.background(), colour::Black);
    view.close();
}

TEST(ScreenSaverInhibition, HeldWhileTheHeartbeatRunsAndGivenBackOnStopAndWhenTheProgramEnds)
{
    privateBus();
    StandIn service;
    ASSERT_TRUE(service.ready);
    SimulatedClock clock;
    auto p = std::make_unique<DeskProgram>(clock);
    p->seed(QStringLiteral("KITT_AUTOSTART_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = p->start();
    ASSERT_TRUE(service.waitFor(QStringLiteral("INHIBIT ")));
    EXPECT_TRUE(service.last.startsWith(QStringLiteral("INHIBIT 1 ")));
    EXPECT_TRUE(p->desk.screenSaver->held());
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Keeping the session awake: screensaver inhibition only; key presses are not available"));

    m.KITT_START_BUTTON.click();
    ASSERT_TRUE(service.waitFor(QStringLiteral("UNINHIBIT ")));
    EXPECT_EQ(service.last, QStringLiteral("UNINHIBIT 1"));
    EXPECT_FALSE(p->desk.screenSaver->held());

    m.KITT_START_BUTTON.click();
    ASSERT_TRUE(service.waitFor(QStringLiteral("INHIBIT 2 ")));
    clock.advance(5000);
    EXPECT_TRUE(service.unread().isEmpty()) << "held once, not once a tick";
    p.reset();
    ASSERT_TRUE(service.waitFor(QStringLiteral("UNINHIBIT ")));
    EXPECT_EQ(service.last, QStringLiteral("UNINHIBIT 2"));
}

TEST(ScreenSaverInhibition, TheProgramGivesItBackWhenItIsAskedToEnd)
{
    privateBus();
    StandIn service;
    ASSERT_TRUE(service.ready);
    QTemporaryDir config;
    ASSERT_TRUE(QDir(config.path()).mkpath(QStringLiteral("ZB-SEQUENTA")));
    QFile ini(config.filePath(QStringLiteral("ZB-SEQUENTA/ZB-SEQUENTA.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[zb-sequenta]\nKITT_AUTOSTART_TICKBOX=1\n");
    ini.close();

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZB_PROGRAM_PATH), {});
    ASSERT_TRUE(service.waitFor(QStringLiteral("INHIBIT "), 15000));
    EXPECT_TRUE(service.last.contains(QStringLiteral("ZB-SEQUENTA"))) << qPrintable(service.last);
    const QString cookie = service.last.section(QLatin1Char(' '), 1, 1);
    // The inhibition is taken at start-up, before the program has taken over
    // SIGTERM from the default (which would end it on the spot).
    ASSERT_TRUE(QTest::qWaitFor([&] { return catchesSigterm(program.processId()); }, 10000));

    ::kill(static_cast<pid_t>(program.processId()), SIGTERM);
    EXPECT_TRUE(service.waitFor(QStringLiteral("UNINHIBIT ")));
    EXPECT_EQ(service.last, QStringLiteral("UNINHIBIT ") + cookie);
    EXPECT_TRUE(program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
} // namespace zb
