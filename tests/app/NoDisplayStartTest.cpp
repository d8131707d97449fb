// The real program's starts in a changing session. With no display to open
// its window (none, dead, refusing, or one that never answers), a start by
// cron with the autostart ticked runs without one; any other says why in one
// line, and a start by cron also journals that. Whatever the session does
// meanwhile (a login, a logout, folders planted by other users), one copy
// runs per name, and a refusal says its true reason.
#include "platform/qt/IniSettingsStore.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zb {
namespace {

QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// An X server that takes only clients with its cookie, as a login screen's
// does once the user who made the entry has logged out. The server picks its
// own display and reports it once it is ready for clients; it reads every
// cookie in its file, whatever display the entry names.
struct RefusingDisplay {
    RefusingDisplay()
    {
        const QString auth = dir.filePath(QStringLiteral("auth"));
        QProcess::execute(QStringLiteral("xauth"), {QStringLiteral("-q"), QStringLiteral("-f"), auth,
                                                    QStringLiteral("add"), QStringLiteral(":0"), QStringLiteral("."),
                                                    QStringLiteral("0123456789abcdef0123456789abcdef")});
        x.setStandardErrorFile(QProcess::nullDevice());
        x.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-auth"),
                                         auth, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray number;
        QDeadlineTimer ready(15'000);
        while (!number.contains('\n') && !ready.hasExpired() && x.state() != QProcess::NotRunning) {
            x.waitForReadyRead(200);
            number += x.readAllStandardOutput();
        }
        if (number.contains('\n'))
            name = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    }
    ~RefusingDisplay()
    {
        x.terminate();
        x.waitForFinished(5000);
    }
    QTemporaryDir dir;
    QString name;
    QProcess x;
};

// Folders a case makes where none were, with their owner and mode; removed
// after it.
struct Made {
    QStringList paths;
    void make(const QString& path, uid_t owner = geteuid(), mode_t mode = 0700)
    {
        const QByteArray p = QFile::encodeName(path);
        if (mkdir(p.constData(), mode) == 0 && chown(p.constData(), owner, owner) == 0 &&
            chmod(p.constData(), mode) == 0)
            paths << path;
    }
    void undo()
    {
        for (const QString& path : std::as_const(paths))
            QDir(path).removeRecursively();
        paths.clear();
    }
    ~Made() { undo(); }
};

TEST(NoDisplayStart, OnlyAScheduledStartWithTheAutostartRunsAndAScheduledOneJournalsWhy)
{
    // An X display over TCP that takes the connection and never answers, as
    // one behind a firewall or a stopped server does.
    const int silentFd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QByteArray silent;
    for (int n = 150; n < 250 && silent.isEmpty(); ++n)
        if (address.sin_port = htons(static_cast<uint16_t>(6000 + n));
            bind(silentFd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && listen(silentFd, 8) == 0)
            silent = "127.0.0.1:" + QByteArray::number(n);
    ASSERT_FALSE(silent.isEmpty());
    const QByteArray silentReason = "the display " + silent + " did not answer within 6 seconds";
    Made made;
    const auto login = [&](const QString&) { made.make(QStringLiteral("/run/user/%1").arg(geteuid())); };
    const QByteArray running = "zb-no-display is already running (pid";

    const RefusingDisplay refusing;
    ASSERT_FALSE(refusing.name.isEmpty()) << "Xvfb did not start";
    const QByteArray refusal =
        "the display " + refusing.name.toUtf8() +
        " refuses the connection: Authorization required, but no authorization protocol specified";
    const struct {
        bool scheduled;
        bool autostart;
        QByteArray display;
        bool runs;        // until TERM
        QByteArray err;   // how stderr begins; one line
        QByteArray entry; // how the journal ends (or a line that begins so); "" none
        std::function<void(const QString&root)> before = {}, during = {}; // during: while a first copy runs
    } cases[] = {
        {true, true, ":987", true,
         "zb-no-display: no display: the display :987 does not answer; started by the schedule with AutoStart "
         "Timer ticked, it runs its chain without a window and closes after it\n",
         " scheduled-start window=no reason=\"the display :987 does not answer\"\n"},
        {true, false, "", false, "zb-no-display: needs a display to open its window, and none is set",
         " scheduled-start-not-run reason=\"no display: none is set (DISPLAY or WAYLAND_DISPLAY); AutoStart Timer "
         "is clear\"\n"},
        {false, true, ":987", false, "zb-no-display: needs a display to open its window, and the display :987", ""},
        {true, true, refusing.name.toUtf8(), true, "zb-no-display: no display: " + refusal,
         " scheduled-start window=no reason=\"" + refusal + "\"\n"},
        {false, false, refusing.name.toUtf8(), false,
         "zb-no-display: needs a display to open its window, and " + refusal, ""},
        // clang-format off
        {false, true, silent, false, "zb-no-display: needs a display to open its window, and " + silentReason, ""},
        {true, true, silent, true, "zb-no-display: no display: " + silentReason,
         " scheduled-start window=no reason=\"" + silentReason + "\"\n"},
        {false, true, "offscreen", false, running, "", {}, login},
        {false, true, "offscreen", false, running, "", login, [&](const QString&) { made.undo(); }},
        {true, true, "offscreen", true, "", " scheduled-start window=yes\n",
         [&](const QString&) { made.make(QStringLiteral("/tmp/ZB-SEQUENTA-%1").arg(geteuid()), 4242, 0777); }},
        {true, true, "offscreen", false, "ZB-SEQUENTA: zb-no-display was not started, because one copy per name "
         "cannot be made sure: the lock folder", " scheduled-start-not-run reason=\"one copy per name cannot be "
         "made sure: the lock folder", [&](const QString& root) {
             made.make(root + QStringLiteral("/config/ZB-SEQUENTA/locks"), geteuid(), 0777); }},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err.toStdString());
        QTemporaryDir root;
        const QString program = root.filePath(QStringLiteral("zb-no-display"));
        ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));
        const QString journal = root.filePath(QStringLiteral("state/ZB-SEQUENTA/zb-no-display-runs.log"));
        IniSettingsStore(root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini")))
            .saveSetting(QStringLiteral("zb-no-display"), QStringLiteral("AUTOSTART_TICKBOX"),
                         QString::number(c.autostart ? 1 : 0));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ZB_SEQUENTA_SCHEDULED"})
            env.remove(QString::fromLatin1(name));
        if (c.display == "offscreen")
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        else if (!c.display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(c.display));
        env.insert(QStringLiteral("XAUTHORITY"), root.filePath(QStringLiteral("no-cookie")));
        if (c.scheduled)
            env.insert(QStringLiteral("ZB_SEQUENTA_SCHEDULED"), QStringLiteral("1"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), root.filePath(QStringLiteral("state")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path());
        if (c.before)
            c.before(root.path());
        QProcess first; // holds the name meanwhile
        if (c.during) {
            const QString lock = root.filePath(QStringLiteral("config/ZB-SEQUENTA/locks/zb-no-display.lock"));
            first.setProcessEnvironment(env);
            first.start(program, {});
            first.waitForStarted(10'000);
            QDeadlineTimer deadline(15'000);
            while (!deadline.hasExpired() && readText(lock).trimmed().toLongLong() != first.processId())
                QThread::msleep(50);
            c.during(root.path());
        }
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted(10'000));
        if (c.runs) {
            QDeadlineTimer deadline(15'000);
            while (!deadline.hasExpired() && !readText(journal).contains(QStringLiteral("scheduled-start")))
                QThread::msleep(50);
            EXPECT_EQ(process.state(), QProcess::Running);
            process.terminate(); // closes the normal way, as at the end of its chain
        }
        ASSERT_TRUE(process.waitForFinished(10'000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), c.runs ? 0 : 1);
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_TRUE(err.startsWith(QString::fromUtf8(c.err))) << err.toStdString();
        EXPECT_TRUE(c.err.isEmpty() || err.count(QLatin1Char('\n')) == 1) << err.toStdString();
        if (c.entry.isEmpty())
            EXPECT_FALSE(QFile::exists(journal));
        else
            EXPECT_TRUE(readText(journal).endsWith(QString::fromUtf8(c.entry)) ||
                        readText(journal).contains(QString::fromUtf8(c.entry) + QLatin1Char(' ')))
                << readText(journal).toStdString();
        EXPECT_TRUE(!c.during || first.state() == QProcess::Running) << "the first copy runs on alone";
        first.terminate();
        first.waitForFinished(10'000);
        made.undo();
    }
    close(silentFd);
}

} // namespace
} // namespace zb
