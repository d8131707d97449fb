// The real program's starts in a changing session: each row sets the world
// up (a copy already running, a login, a planted folder, a display that never
// answers), starts a copy and checks how it ended, what it said and what the
// journal keeps.
#include "platform/qt/IniSettingsStore.h"

#include <QDeadlineTimer>
#include <QDir>
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

QByteArray readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool waitFor(const std::function<bool()>& done)
{
    for (QDeadlineTimer deadline(15'000); !done(); QThread::msleep(50))
        if (deadline.hasExpired())
            return false;
    return true;
}

// Folders a row makes where none were, with their owner and mode; removed
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

TEST(Lifecycle, OneRunPerCopyAndATrueRecordHoweverTheSessionChanges)
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
    const QString runUser = QStringLiteral("/run/user/%1").arg(geteuid());
    Made made;
    const std::function<void(const QString&)> none;
    const auto login = [&](const QString&) { made.make(runUser); };
    const struct Row {
        const char* what;
        std::function<void(const QString&root)> before, during; // during: while a first copy runs
        bool scheduled;
        QByteArray display; // "" offscreen
        int exit;           // -1: runs until TERM
        QByteArray err;     // contained in its stderr
        QByteArray journal; // contained in the journal; "" none
    } rows[] = {
        // clang-format off
        {"a login while a copy runs", none, login, false, "", 1, "zb-life is already running (pid", ""},
        {"a logout while a copy runs", login, [&](const QString&) { made.undo(); }, false, "", 1,
         "zb-life is already running (pid", ""},
        {"the old lock places planted by another user",
         [&](const QString&) { made.make(QStringLiteral("/tmp/ZB-SEQUENTA-%1").arg(geteuid()), 4242, 0777); }, none,
         true, "", -1, "", " scheduled-start window=yes\n"},
        {"a lock folder open to other users",
         [&](const QString& root) { made.make(root + QStringLiteral("/config/ZB-SEQUENTA/locks"), geteuid(), 0777); },
         none, true, "", 1, "one copy per name cannot be made sure: the lock folder",
         " scheduled-start-not-run reason=\"one copy per name cannot be made sure: the lock folder "},
        {"a display that never answers, by hand", none, none, false, silent, 1,
         "zb-life: needs a display to open its window, and " + silentReason, ""},
        {"a display that never answers, by the schedule", none, none, true, silent, -1,
         "zb-life: no display: " + silentReason, " scheduled-start window=no reason=\"" + silentReason + "\"\n"},
        // clang-format on
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
            ASSERT_TRUE(first.waitForStarted(10'000) && waitFor([&] { return holds(first); }));
            row.during(root.path());
        }
        if (!row.display.isEmpty()) {
            env.remove(QStringLiteral("QT_QPA_PLATFORM"));
            env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(row.display));
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
        EXPECT_TRUE(row.journal.isEmpty() ? !QFile::exists(journal) : readText(journal).contains(row.journal))
            << readText(journal).toStdString();
        EXPECT_TRUE(!row.during || first.state() == QProcess::Running) << "the first copy runs on alone";
        first.terminate();
        first.waitForFinished(10'000);
        made.undo();
    }
    close(silentFd);
}

} // namespace
} // namespace zb
