// The program closes the normal way on the signals a session end, a service
// manager or Ctrl+C send, so its shut-down saves run.
#include "platform/qt/IniSettingsStore.h"

#include <QCoreApplication>
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
            store.saveSetting(copy, QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
            store.saveSetting(copy, QStringLiteral("START_EMAIL_TICKBOX"), QStringLiteral("1"));
        }
        // A start e-mail script that is still sending when the window closes.
        QDir(root.path()).mkdir(QStringLiteral("BATS"));
        QFile script(root.filePath(QStringLiteral("BATS/%1-START-EMAIL.sh").arg(copy)));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly) && script.write("echo $$ > pid; exec sleep 120\n") &&
                    script.flush());

        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(root.path());
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted(10000));
        QThread::msleep(1500); // let the window open
        // INT comes once the autostart has sent the mail: the close then waits
        // for the script, up to two minutes, until a second INT ends the wait.
        QFile pid(root.filePath(QStringLiteral("pid")));
        for (int waited = 0; signalNumber == SIGINT && pid.size() == 0 && waited < 400; ++waited)
            QThread::msleep(100);
        if (signalNumber == SIGINT) {
            ASSERT_TRUE(pid.open(QIODevice::ReadOnly)) << "the start e-mail script did not run";
            ::kill(static_cast<pid_t>(process.processId()), SIGINT);
            EXPECT_FALSE(process.waitForFinished(1500)) << "the close waits for the mail";
        }
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
        // The start e-mail goes with the first task, slot 4: then it is slot 5's turn.
        EXPECT_EQ(stored("LAST_RUN"), signalNumber == SIGINT ? QStringLiteral("INTERRUPTED - TASK 5")
                                                             : QStringLiteral("AUTOSTART - MANUAL STOP"));
        if (const pid_t sending = pid.readAll().trimmed().toInt(); signalNumber == SIGINT) {
            EXPECT_TRUE(sending > 0 && ::kill(sending, 0) == 0 && ::kill(sending, SIGKILL) == 0) << "still sending";
        }
    }
}

} // namespace
} // namespace zb
