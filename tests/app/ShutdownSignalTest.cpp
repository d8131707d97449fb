// The program closes the normal way on the signals a session end, a service
// manager or Ctrl+C send, so its shut-down saves run.
#include "platform/qt/IniSettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace zb {
namespace {

TEST(ShutdownSignal, TermIntAndHupCloseTheWindowAndSave)
{
    for (const int signalNumber : {SIGTERM, SIGINT, SIGHUP}) {
        QTemporaryDir root;
        ASSERT_TRUE(root.isValid());
        const QString copy =
            QStringLiteral("zb-signal-%1").arg(QCoreApplication::applicationPid()); // a lock of its own
        const QString program = root.filePath(copy);
        ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));
        const QString ini = root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini"));
        {
            IniSettingsStore store(ini);
            store.saveSetting(copy, QStringLiteral("TASK_4_ENABLE_TICKBOX"), QStringLiteral("1"));
            store.saveSetting(copy, QStringLiteral("LAST_RUN"), QStringLiteral("AUTOSTART - MANUAL STOP"));
        }

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        process.setProcessEnvironment(env);
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted(10000));
        QThread::msleep(1500); // let the window open
        ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), signalNumber), 0);
        ASSERT_TRUE(process.waitForFinished(20000)) << "signal " << signalNumber;
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit) << "signal " << signalNumber;
        EXPECT_EQ(process.exitCode(), 0) << "signal " << signalNumber;

        IniSettingsStore after(ini);
        const auto stored = [&](const char* key) {
            return after.getSetting(copy, QLatin1String(key), QStringLiteral("<absent>"));
        };
        EXPECT_EQ(stored("MAIN-Left"), QStringLiteral("1000")) << "signal " << signalNumber;
        EXPECT_EQ(stored("TASK_4_ENABLE_TICKBOX"), QStringLiteral("1"));
        EXPECT_EQ(stored("TASK_20_PAUSE_TICKBOX"), QStringLiteral("0"));
        EXPECT_EQ(stored("LAST_RUN"), QStringLiteral("AUTOSTART - MANUAL STOP"));
    }
}

// After a kill -9 nothing could be stored: the next start reads the journal,
// finds the pass without an end and stores it as interrupted, once.
TEST(ShutdownSignal, APassCutShortWithoutAWordIsFoundAtTheNextStart)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString copy = QStringLiteral("zb-killed");
    const QString program = root.filePath(copy);
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));
    const QString ini = root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini"));
    {
        IniSettingsStore store(ini);
        store.saveSetting(copy, QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
        store.saveSetting(copy, QStringLiteral("LAST_RUN_TIME"), QStringLiteral("2026-12-06T02:00:42+01:00"));
    }
    const QString journal = root.filePath(QStringLiteral("state/ZB-SEQUENTA/zb-killed-runs.log"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(journal).absolutePath()));
    {
        QFile f(journal);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("2026-12-06T02:00:11+01:00 pass-started by=autostart\n"
                "2026-12-06T02:00:42+01:00 autoclosed last-run=\"COMPLETED SUCCESSFULLY\"\n"
                "2026-12-07T02:00:11+01:00 pass-started by=autostart\n"
                "2026-12-07T02:00:12+01:00 task-skipped task=1\n"
                "2026-12-07T02:00:13+01:00 task-started task=2 pid=4242 command=backup\n"
                "2026-12-07T02:00:15+01:00 wait-began task=2 name=backup\n");
    }

    for (int start = 1; start <= 2; ++start) {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), root.filePath(QStringLiteral("state")));
        process.setProcessEnvironment(env);
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted(10000));
        QThread::msleep(1500);
        ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
        ASSERT_TRUE(process.waitForFinished(20000));

        IniSettingsStore after(ini);
        EXPECT_EQ(after.getSetting(copy, QStringLiteral("LAST_RUN"), QString()),
                  QStringLiteral("INTERRUPTED - TASK 2"));
        EXPECT_EQ(after.getSetting(copy, QStringLiteral("LAST_RUN_TIME"), QString()),
                  QStringLiteral("2026-12-07T02:00:15+01:00"))
            << "the last sign of the pass";
        QFile f(journal);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll().count("pass-interrupted task=2 how=\"found at start\""), 1) << "start " << start;
    }
}

} // namespace
} // namespace zb
