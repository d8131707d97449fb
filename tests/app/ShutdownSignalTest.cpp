// The program closes the normal way on the signals a session end, a service
// manager or Ctrl+C send, so its shut-down saves run.
#include "platform/qt/IniSettingsStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
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

// After the window has closed, the program waits up to two minutes for an
// e-mail script that still sends; a TERM then ends the wait at once and
// leaves the script sending.
TEST(ShutdownSignal, ASecondTermEndsTheWaitForASendingEmailScriptAndLeavesItRunning)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString copy = QStringLiteral("zb-mailwait-%1").arg(QCoreApplication::applicationPid());
    const QString program = root.filePath(copy);
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));
    ASSERT_TRUE(QDir().mkpath(root.filePath(QStringLiteral("BATS"))));
    const QString mark = root.filePath(QStringLiteral("sending"));
    {
        QFile script(root.filePath(QStringLiteral("BATS/%1-START-EMAIL.sh").arg(copy)));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("echo $$ > '" + QFile::encodeName(mark) + ".tmp'; mv '" + QFile::encodeName(mark) + ".tmp' '" +
                     QFile::encodeName(mark) + "'; exec sleep 120\n");
    }
    const QString ini = root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini"));
    {
        IniSettingsStore store(ini);
        store.saveSetting(copy, QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
        store.saveSetting(copy, QStringLiteral("START_EMAIL_TICKBOX"), QStringLiteral("1"));
    }
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    process.setProcessEnvironment(env);
    process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(10000));
    QDeadlineTimer autostart(40'000);
    while (!QFile::exists(mark) && !autostart.hasExpired())
        QThread::msleep(100);
    QFile pidFile(mark);
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly)) << "the start e-mail script did not run";
    const pid_t script = pidFile.readAll().trimmed().toInt();
    ASSERT_GT(script, 0);

    ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
    EXPECT_FALSE(process.waitForFinished(1500)) << "the first TERM closes the window and waits for the mail";
    ASSERT_EQ(::kill(static_cast<pid_t>(process.processId()), SIGTERM), 0);
    EXPECT_TRUE(process.waitForFinished(10'000)) << "the second TERM ends the wait";
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(::kill(script, 0), 0) << "the script goes on sending";
    ::kill(script, SIGKILL);
}

} // namespace
} // namespace zb
