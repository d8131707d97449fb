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

QProcessEnvironment offscreenWithConfig(const QString& config)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    return env;
}

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
        process.setProcessEnvironment(offscreenWithConfig(root.filePath(QStringLiteral("config"))));
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
// e-mail script that still sends; a second TERM ends the wait at once and
// leaves the script sending.
TEST(ShutdownSignal, ASecondTermEndsTheWaitForASendingEmailScriptAndLeavesItRunning)
{
    QTemporaryDir root;
    const QString copy = QStringLiteral("zb-mailwait-%1").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), root.filePath(copy)));
    ASSERT_TRUE(QDir(root.path()).mkdir(QStringLiteral("BATS")));
    QFile script(root.filePath(QStringLiteral("BATS/%1-START-EMAIL.sh").arg(copy)));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly) && script.write("echo $$ >> pid; exec sleep 120\n") > 0 &&
                script.flush());
    IniSettingsStore(root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini")))
        .saveSetting(copy, QStringLiteral("START_EMAIL_TICKBOX"), QStringLiteral("1"));
    IniSettingsStore(root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini")))
        .saveSetting(copy, QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
    QProcess process;
    process.setWorkingDirectory(root.path());
    process.setProcessEnvironment(offscreenWithConfig(root.filePath(QStringLiteral("config"))));
    process.start(root.filePath(copy), {});
    QFile pid(root.filePath(QStringLiteral("pid")));
    for (QDeadlineTimer autostart(40'000); pid.size() == 0 && !autostart.hasExpired();)
        QThread::msleep(100);
    ASSERT_TRUE(pid.open(QIODevice::ReadOnly)) << "the start e-mail script did not run";
    const pid_t sending = pid.readLine().trimmed().toInt();

    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    EXPECT_FALSE(process.waitForFinished(1500)) << "the first TERM closes the window and waits for the mail";
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    EXPECT_TRUE(process.waitForFinished(10'000)) << "the second TERM ends the wait";
    EXPECT_EQ(::kill(sending, 0), 0) << "the script goes on sending";
    ::kill(sending, SIGKILL);
}

} // namespace
} // namespace zb
