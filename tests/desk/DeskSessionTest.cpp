// The desk in a session without an X server (Qt's offscreen platform), and
// the screensaver inhibition against a stand-in service on a private session
// bus.
#include "DeskProgram.h"
#include "desk/DeskTexts.h"
#include "platform/fake/SimulatedClock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <gtest/gtest.h>

#include <csignal>

namespace zb {
namespace {

using test::DeskProgram;

// One private session bus for the whole run, made this process's session bus
// before anything connects to it. It starts no services of its own: the
// desktop's real ones must not answer in the stand-ins' place.
const QString& privateBus()
{
    static QProcess daemon;
    static QTemporaryDir dir;
    static const QString address = [] {
        // The desktop's own session configuration, less its services.
        QFile standard(QStringLiteral("/usr/share/dbus-1/session.conf"));
        QFile config(dir.filePath(QStringLiteral("bus.conf")));
        if (standard.open(QIODevice::ReadOnly) && config.open(QIODevice::WriteOnly))
            config.write(standard.readAll().replace("<standard_session_servicedirs />", ""));
        config.close();
        daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--config-file=") + config.fileName(),
                                                     QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
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

// The stand-in screensaver service (or desktop portal), and the calls it has
// answered.
class StandIn {
public:
    explicit StandIn(const QStringList& options = {})
    {
        process_.start(QStringLiteral(ZB_STANDIN_PATH), options);
        ready = waitFor(QStringLiteral("READY"));
    }
    ~StandIn() { stop(); }
    // The service ends, as a desktop's service may.
    void stop()
    {
        process_.kill();
        process_.waitForFinished();
    }
    // A held service answers now.
    void answer() { process_.write("ANSWER\n"); }
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
            // The program under test answers meanwhile: its events run.
            QTest::qWait(20);
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

const QString kNoX = QStringLiteral("there is no X server in this session");

TEST(DeskWithoutX, LightsAlwaysOnTopAndKeyPressesSayTheyAreNotAvailableAndWhy)
{
    privateBus(); // a bus without a screensaver service
    SimulatedClock clock;
    DeskProgram p(clock);
    MainWindowModel& m = p.start();
    EXPECT_FALSE(p.desk.keyboard->canPress());
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Heartbeat stopped; key presses are not available: ") + kNoX);
    EXPECT_FALSE(m.AlwaysOnTopTimer_TICKBOX.enabled());
    EXPECT_EQ(m.AlwaysOnTopTimer_TICKBOX.toolTip(), QStringLiteral("Always On Top is not available: ") + kNoX);
    for (const TextField* light : {&m.VERT_NUM_LIGHT_LABEL, &m.VERT_CAPS_LIGHT_LABEL, &m.VERT_SCROLL_LIGHT_LABEL}) {
        EXPECT_NE(light->background(), colour::Green) << qPrintable(light->objectName());
        EXPECT_NE(light->background(), colour::Red) << qPrintable(light->objectName());
    }
    EXPECT_EQ(m.VERT_NUM_LIGHT_LABEL.toolTip(),
              QStringLiteral("NUM LOCK = UNKNOWN\nThe state cannot be read: ") + kNoX);

    // Everything goes on as usual, with nothing to press and nothing to lift,
    // and no timer wakes the program up for the lights or always on top.
    MainWindowView& view = p.show();
    m.VERT_NUM_LIGHT_LABEL.doubleClick();
    const auto ticks = clock.ticksDelivered();
    clock.advance(60000);
    EXPECT_EQ(clock.ticksDelivered(), ticks);
    m.KITT_START_BUTTON.click();
    QTest::qWait(300); // both services are asked, and neither is there
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Not keeping the session awake: no screensaver service or desktop portal holds an "
                             "inhibition, and key presses are not available: ") +
                  kNoX);
    clock.advance(303000);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:04:59"));
    EXPECT_EQ(m.KITT_BACKGROUND_LABEL.background(), colour::Black);
    view.close();
}

bool waitForHolder(const DeskProgram& p, InhibitionHolder holder)
{
    return QTest::qWaitFor([&] { return p.desk.screenSaver->holder() == holder; }, 5000);
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
    ASSERT_TRUE(waitForHolder(*p, InhibitionHolder::ScreenSaver));
    EXPECT_TRUE(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip().contains(QStringLiteral("org.freedesktop.ScreenSaver")));

    m.KITT_START_BUTTON.click();
    EXPECT_FALSE(p->desk.screenSaver->held());
    ASSERT_TRUE(service.waitFor(QStringLiteral("UNINHIBIT ")));
    EXPECT_EQ(service.last, QStringLiteral("UNINHIBIT 1"));

    m.KITT_START_BUTTON.click();
    ASSERT_TRUE(service.waitFor(QStringLiteral("INHIBIT 2 ")));
    ASSERT_TRUE(waitForHolder(*p, InhibitionHolder::ScreenSaver));
    clock.advance(5000);
    EXPECT_TRUE(service.unread().isEmpty()) << "held once, not once a tick";
    p.reset();
    ASSERT_TRUE(service.waitFor(QStringLiteral("UNINHIBIT ")));
    EXPECT_EQ(service.last, QStringLiteral("UNINHIBIT 2"));
}

TEST(ScreenSaverInhibition, FollowsTheServiceAsItComesGoesAndComesBackAndTheTooltipSaysWhoHoldsIt)
{
    privateBus();
    SimulatedClock clock;
    DeskProgram p(clock);
    MainWindowModel& m = p.start();
    const auto tip = [&m] { return m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(); };
    m.KITT_START_BUTTON.click();
    QTest::qWait(300);
    EXPECT_FALSE(p.desk.screenSaver->held()) << "no service yet";
    EXPECT_TRUE(tip().contains(QStringLiteral("no screensaver service or desktop portal holds"))) << qPrintable(tip());

    auto service = std::make_unique<StandIn>();
    ASSERT_TRUE(service->waitFor(QStringLiteral("INHIBIT 1 "))) << "taken when the service appears";
    ASSERT_TRUE(waitForHolder(p, InhibitionHolder::ScreenSaver));
    EXPECT_TRUE(tip().contains(QStringLiteral("org.freedesktop.ScreenSaver"))) << qPrintable(tip());

    service->stop();
    ASSERT_TRUE(waitForHolder(p, InhibitionHolder::None)) << "dropped with the service";
    EXPECT_FALSE(tip().contains(QStringLiteral("org.freedesktop.ScreenSaver"))) << qPrintable(tip());

    service = std::make_unique<StandIn>(); // the service restarted
    ASSERT_TRUE(service->waitFor(QStringLiteral("INHIBIT 1 "))) << "taken again";
    ASSERT_TRUE(waitForHolder(p, InhibitionHolder::ScreenSaver));
}

TEST(ScreenSaverInhibition, TheDesktopPortalHoldsItWhereNoScreensaverServiceRunsUntilOneComes)
{
    privateBus();
    StandIn portal({QStringLiteral("--portal")});
    ASSERT_TRUE(portal.ready);
    SimulatedClock clock;
    DeskProgram p(clock);
    MainWindowModel& m = p.start();
    m.KITT_START_BUTTON.click();
    ASSERT_TRUE(portal.waitFor(QStringLiteral("PORTAL-INHIBIT ")));
    EXPECT_EQ(portal.last, QStringLiteral("PORTAL-INHIBIT 1 8 ") + inhibitionReason()) << "idle only";
    ASSERT_TRUE(waitForHolder(p, InhibitionHolder::Portal));
    EXPECT_TRUE(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip().contains(QStringLiteral("org.freedesktop.portal.Inhibit")));

    StandIn service;
    ASSERT_TRUE(service.waitFor(QStringLiteral("INHIBIT 1 "))) << "the session's own service takes over";
    EXPECT_TRUE(portal.waitFor(QStringLiteral("CLOSE 1")));
    ASSERT_TRUE(waitForHolder(p, InhibitionHolder::ScreenSaver));

    m.KITT_START_BUTTON.click();
    EXPECT_TRUE(service.waitFor(QStringLiteral("UNINHIBIT 1")));
}

TEST(ScreenSaverInhibition, ABusyServiceHoldsNothingUpAndALateAnswerAfterAStopIsGivenBack)
{
    privateBus();
    StandIn service({QStringLiteral("--hold")});
    ASSERT_TRUE(service.ready);
    SimulatedClock clock;
    DeskProgram p(clock);
    MainWindowModel& m = p.start();
    m.KITT_START_BUTTON.click();
    ASSERT_TRUE(service.waitFor(QStringLiteral("INHIBIT 1 ")));
    EXPECT_FALSE(p.desk.screenSaver->held()) << "not claimed before the service has answered";
    EXPECT_TRUE(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip().contains(QStringLiteral("no screensaver service")));
    service.answer();
    ASSERT_TRUE(waitForHolder(p, InhibitionHolder::ScreenSaver));

    m.KITT_START_BUTTON.click();
    ASSERT_TRUE(service.waitFor(QStringLiteral("UNINHIBIT 1")));
    m.KITT_START_BUTTON.click();
    ASSERT_TRUE(service.waitFor(QStringLiteral("INHIBIT 2 ")));
    m.KITT_START_BUTTON.click(); // stopped before the answer
    service.answer();
    EXPECT_TRUE(service.waitFor(QStringLiteral("UNINHIBIT 2"))) << "the late inhibition goes straight back";
    EXPECT_FALSE(p.desk.screenSaver->held());
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
    // Its own runtime folder: a copy of the same name elsewhere on the
    // machine must not keep it from running.
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), config.path());
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
    EXPECT_TRUE(program.state() == QProcess::NotRunning || program.waitForFinished(10000));
    EXPECT_EQ(program.exitCode(), 0);
}

// A headless Wayland compositor (weston) with XWayland, in a runtime folder
// of its own.
class Weston {
public:
    Weston()
    {
        log_.setAutoRemove(true);
        log_.open();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        process_.setProcessEnvironment(env);
        process_.setStandardOutputFile(QProcess::nullDevice());
        process_.start(QStringLiteral("weston"),
                       {QStringLiteral("--backend=headless-backend.so"), QStringLiteral("--socket=zb-test"),
                        QStringLiteral("--xwayland"), QStringLiteral("--idle-time=0"),
                        QStringLiteral("--log=") + log_.fileName()});
        started = process_.waitForStarted(5000) && QTest::qWaitFor([this] { return !xDisplay().isEmpty(); }, 10000);
    }
    ~Weston()
    {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
    }
    // The display XWayland listens on, once weston has said so.
    QString xDisplay()
    {
        QFile log(log_.fileName());
        if (!log.open(QIODevice::ReadOnly))
            return {};
        const QByteArray text = log.readAll();
        const qsizetype at = text.indexOf("xserver listening on display ");
        return at < 0 ? QString() : QString::fromLatin1(text.mid(at + 29).split('\n').first().trimmed());
    }
    // Runs the desk probe on this desktop and returns its lines.
    QStringList probe(const QString& platform)
    {
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime_.path());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), platform);
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("zb-test"));
        env.insert(QStringLiteral("DISPLAY"), xDisplay());
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(ZB_PROBE_PATH), {});
        probe.waitForFinished(30000);
        return QString::fromUtf8(probe.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    bool started = false;

private:
    QTemporaryDir runtime_;
    QTemporaryFile log_;
    QProcess process_;
};

TEST(DeskOnWayland, StartsAndSaysWhatWaylandDoesNotAllow)
{
    if (QStandardPaths::findExecutable(QStringLiteral("weston")).isEmpty())
        GTEST_SKIP() << "weston is not installed";
    privateBus();
    Weston weston;
    ASSERT_TRUE(weston.started);
    const QString noWay = QStringLiteral("Wayland gives programs no way to do this");
    EXPECT_EQ(weston.probe(QStringLiteral("wayland")),
              (QStringList{QStringLiteral("PLATFORM wayland"),
                           QStringLiteral("ALWAYS_ON_TOP disabled Always On Top is not available: ") + noWay,
                           QStringLiteral("NUM NUM LOCK = UNKNOWN | The state cannot be read: ") + noWay,
                           QStringLiteral("HEARTBEAT Heartbeat stopped; key presses are not available: ") + noWay}));

    // Under XWayland the keyboard's locks can be read, with the same caveat
    // as the key presses; weston keeps no X window above the others.
    const QStringList x = weston.probe(QStringLiteral("xcb"));
    ASSERT_EQ(x.size(), 4) << qPrintable(x.join(QLatin1Char('\n')));
    EXPECT_EQ(x[0], QStringLiteral("PLATFORM xcb"));
    EXPECT_TRUE(x[1].startsWith(QStringLiteral("ALWAYS_ON_TOP disabled Always On Top is not available: the window "
                                               "manager")))
        << qPrintable(x[1]);
    EXPECT_TRUE(x[2].startsWith(QStringLiteral("NUM NUM LOCK = OFF | The state shown may be stale: under XWayland")))
        << qPrintable(x[2]);
    EXPECT_TRUE(x[3].contains(QStringLiteral("under XWayland a synthetic key press"))) << qPrintable(x[3]);
}

} // namespace
} // namespace zb
