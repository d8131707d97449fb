// The real program's starts in a changing session: each row sets the world
// up (a copy already running, a login, a planted folder, a display that never
// answers), starts a copy and checks how it ended, what it said and what the
// journal keeps.
#include "platform/qt/IniSettingsStore.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QByteArray readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool waitFor(const std::function<bool()>& done, int ms = 15'000)
{
    for (QDeadlineTimer deadline(ms); !done(); QThread::msleep(50))
        if (deadline.hasExpired())
            return false;
    return true;
}

// An X display over TCP that takes the connection and never answers, as one
// behind a firewall or a stopped server does.
struct SilentTcpDisplay {
    SilentTcpDisplay()
    {
        fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        for (int n = 150; n < 250 && name.isEmpty(); ++n) {
            sockaddr_in a = {};
            a.sin_family = AF_INET;
            a.sin_port = htons(static_cast<uint16_t>(6000 + n));
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 && listen(fd, 8) == 0)
                name = QStringLiteral("127.0.0.1:%1").arg(n);
        }
    }
    ~SilentTcpDisplay() { close(fd); }
    int fd = -1;
    QString name;
};

// A folder made for the row where none was, removed after it with the
// folders made above it.
struct Made {
    explicit Made(const QString& folder, uid_t owner = geteuid(), mode_t mode = 0700) : path(folder)
    {
        while (!QFileInfo::exists(QFileInfo(path).absolutePath()))
            path = QFileInfo(path).absolutePath();
        made = !QFileInfo::exists(folder) && QDir().mkpath(folder);
        if (made) {
            const QByteArray p = QFile::encodeName(folder);
            (void)!chown(p.constData(), owner, owner);
            chmod(p.constData(), mode);
        }
    }
    ~Made()
    {
        if (made)
            QDir(path).removeRecursively();
    }
    QString path;
    bool made = false;
};

TEST(Lifecycle, OneRunPerCopyAndATrueRecordHoweverTheSessionChanges)
{
    const SilentTcpDisplay silent;
    ASSERT_FALSE(silent.name.isEmpty());
    const QString uid = QString::number(geteuid());
    const QString runUser = QStringLiteral("/run/user/") + uid;
    std::unique_ptr<Made> login;
    const QByteArray silentReason = "the display " + silent.name.toUtf8() + " did not answer within 6 seconds";
    const struct Row {
        const char* what;
        std::function<void(const QString& root)> before; // before any start
        std::function<void()> during;                    // while a first copy runs; none without it
        bool scheduled;
        QString display; // "" offscreen
        int exit;        // -1: runs until TERM
        QByteArray err;  // contained in its stderr
        QByteArray journal;
    } rows[] = {
        {"a login after the first start",
         {},
         [&] { login = std::make_unique<Made>(runUser); },
         false,
         {},
         1,
         "zb-life is already running (pid",
         ""},
        {"a logout after the first start",
         [&](const QString&) { login = std::make_unique<Made>(runUser); },
         [&] { login.reset(); },
         false,
         {},
         1,
         "zb-life is already running (pid",
         ""},
        {"lock folders planted by another user",
         [&](const QString&) { login = std::make_unique<Made>(QStringLiteral("/tmp/ZB-SEQUENTA-") + uid, 4242, 0777); },
         {},
         true,
         {},
         -1,
         "",
         " scheduled-start window=yes\n"},
        {"a lock folder open to other users",
         [](const QString& root) {
             QDir().mkpath(root + QStringLiteral("/config/ZB-SEQUENTA/locks"));
             chmod(QFile::encodeName(root + QStringLiteral("/config/ZB-SEQUENTA/locks")).constData(), 0777);
         },
         {},
         true,
         {},
         1,
         "one copy per name cannot be made sure: the lock folder",
         " scheduled-start-not-run reason=\"one copy per name cannot be made sure: the lock folder "},
        {"a display that never answers, by hand",
         {},
         {},
         false,
         silent.name,
         1,
         "zb-life: needs a display to open its window, and " + silentReason,
         ""},
        {"a display that never answers, by the schedule",
         {},
         {},
         true,
         silent.name,
         -1,
         "zb-life: no display: " + silentReason,
         " scheduled-start window=no reason=\"" + silentReason + "\"\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        QTemporaryDir root;
        const QString program = root.filePath(QStringLiteral("zb-life"));
        ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));
        const QString journal = root.filePath(QStringLiteral("state/ZB-SEQUENTA/zb-life-runs.log"));
        const QString lock = root.filePath(QStringLiteral("config/ZB-SEQUENTA/locks/zb-life.lock"));
        IniSettingsStore(root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini")))
            .saveSetting(QStringLiteral("zb-life"), QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
        if (row.before)
            row.before(root.path());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "ZB_SEQUENTA_SCHEDULED", "XAUTHORITY"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), root.filePath(QStringLiteral("state")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path());
        const auto holds = [&lock](const QProcess& p) {
            return readText(lock).trimmed().toLongLong() == p.processId();
        };

        QProcess first;
        if (row.during) {
            first.setProcessEnvironment(env);
            first.start(program, {});
            ASSERT_TRUE(first.waitForStarted(10'000));
            ASSERT_TRUE(waitFor([&] { return holds(first); }));
            row.during();
        }
        if (!row.display.isEmpty()) {
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            env.insert(QStringLiteral("DISPLAY"), row.display);
        }
        if (row.scheduled)
            env.insert(QStringLiteral("ZB_SEQUENTA_SCHEDULED"), QStringLiteral("1"));
        QProcess start;
        start.setProcessEnvironment(env);
        start.start(program, {});
        if (row.exit < 0) {
            EXPECT_TRUE(waitFor([&] { return holds(start) && readText(journal).endsWith(row.journal); }));
            start.terminate();
        }
        ASSERT_TRUE(start.waitForFinished(30'000));
        EXPECT_EQ(start.exitCode(), std::max(row.exit, 0));
        const QString err = QString::fromLocal8Bit(start.readAllStandardError());
        EXPECT_TRUE(err.contains(QString::fromUtf8(row.err))) << err.toStdString();
        EXPECT_LE(err.count(QLatin1Char('\n')), 1) << err.toStdString();
        if (row.exit >= 0 || !row.journal.isEmpty()) {
            EXPECT_TRUE(row.journal.isEmpty() ? !QFile::exists(journal) : readText(journal).contains(row.journal))
                << readText(journal).toStdString();
        }
        if (row.during) {
            EXPECT_EQ(first.state(), QProcess::Running) << "the first copy runs on alone";
        }
        first.terminate();
        first.waitForFinished(10'000);
        login.reset();
    }
}

} // namespace
} // namespace zb
