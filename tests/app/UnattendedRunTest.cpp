// The program itself, unattended and in real time: started with autostart
// and autoclose ticked, it runs three slots (one waiting for its process),
// runs both e-mail batch files and closes by itself.
#include "platform/qt/IniSettingsStore.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <unistd.h>

namespace zb {
namespace {

// The lock folder is the user's one, shared with any other run of this test
// on the machine: the name is this run's own.
const QString kCopyName = QStringLiteral("zb-e2e-%1").arg(QCoreApplication::applicationPid());

QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

void writeExecutable(const QString& path, const QByteArray& text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool eventuallyExists(const QString& path, int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired() && !QFile::exists(path))
        QThread::msleep(100);
    return QFile::exists(path);
}

TEST(UnattendedRun, TheProgramRunsItsChainWaitsForItsProcessAndClosesByItself)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString folder = root.filePath(QStringLiteral("program"));
    const QString bats = folder + QStringLiteral("/BATS");
    ASSERT_TRUE(QDir().mkpath(bats));
    // A copy under its own name: its section, its BATS files.
    const QString program = folder + QLatin1Char('/') + kCopyName;
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));

    // A process name that nothing else on the machine has.
    const QString napName = QStringLiteral("zbnap%1").arg(getpid());
    const QString nap = folder + QLatin1Char('/') + napName;
    ASSERT_TRUE(QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), nap));
    QFile::setPermissions(nap, QFile::ReadOwner | QFile::ExeOwner);

    const QString log = root.filePath(QStringLiteral("chain.log"));
    const QString startMark = root.filePath(QStringLiteral("start-email"));
    const QString endMark = root.filePath(QStringLiteral("end-email"));
    writeExecutable(bats + QLatin1Char('/') + kCopyName + QStringLiteral("-START-EMAIL.sh"),
                    "echo sent > '" + startMark.toUtf8() + "'\n");
    writeExecutable(bats + QLatin1Char('/') + kCopyName + QStringLiteral("-END-EMAIL.sh"),
                    "echo sent > '" + endMark.toUtf8() + "'\n");

    const QString config = root.filePath(QStringLiteral("config"));
    const QString ini = config + QStringLiteral("/ZB-SEQUENTA/ZB-SEQUENTA.ini");
    {
        IniSettingsStore store(ini);
        const auto seed = [&](const char* key, const QString& value) {
            store.saveSetting(kCopyName, QLatin1String(key), value);
        };
        for (const char* key :
             {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "START_EMAIL_TICKBOX", "END_EMAIL_TICKBOX",
              "TASK_1_ENABLE_TICKBOX", "TASK_2_ENABLE_TICKBOX", "TASK_2_PAUSE_TICKBOX", "TASK_3_ENABLE_TICKBOX"})
            seed(key, QStringLiteral("1"));
        seed("AlwaysOnTopTimer_TICKBOX", QStringLiteral("0"));
        seed("LAST_RUN", QStringLiteral("AUTOSTART - MANUAL STOP"));
        seed("TASK_1_CMD", QStringLiteral("/bin/sh -c \"echo one >> %1\"").arg(log));
        // The shell writes "two-end" as soon as the nap is over; the chain
        // notices at its next check and only then runs slot 3.
        seed("TASK_2_CMD",
             QStringLiteral("/bin/sh -c \"echo two-start >> %1; %2 5; echo two-end >> %1\"").arg(log, nap));
        seed("TASK_2_PROCESS_NAME_TEXTBOX", napName);
        seed("TASK_3_CMD", QStringLiteral("/bin/sh -c \"echo three >> %1\"").arg(log));
    }

    QProcess run;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    run.setProcessEnvironment(env);
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start(program, {});
    ASSERT_TRUE(run.waitForStarted(10'000));
    // About 50 s: 11 s autostart, twenty slots, a 5 s wait, 11 s autoclose.
    const bool finished = run.waitForFinished(110'000);
    if (!finished) {
        run.kill();
        run.waitForFinished();
    }
    const std::string output = run.readAll().toStdString();
    ASSERT_TRUE(finished) << "the program did not close by itself\n" << output;
    EXPECT_EQ(run.exitStatus(), QProcess::NormalExit) << output;
    EXPECT_EQ(run.exitCode(), 0) << output;

    // Without the wait, slot 3 would write before the nap is over.
    EXPECT_EQ(readText(log).toStdString(), "one\ntwo-start\ntwo-end\nthree\n");
    EXPECT_TRUE(QFile::exists(startMark));
    EXPECT_TRUE(eventuallyExists(endMark, 10'000)) << "the end e-mail batch file did not run";
    const IniSettingsStore after(ini);
    EXPECT_EQ(after.getSetting(kCopyName, QStringLiteral("LAST_RUN"), QString()).toStdString(),
              "COMPLETED SUCCESSFULLY");
}

} // namespace
} // namespace zb
