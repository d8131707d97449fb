// The first morning of a real user, with the program itself: a night's pass
// started as cron starts it, then a look by hand that runs nothing, after
// which the journal and --last still tell the night.
#include "platform/qt/IniSettingsStore.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zb {
namespace {

// Runs the program to its end, or terminates it after waitMs as a logout
// would; its output, and its exit code after it (-1 when it did not end).
QString runProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env, int waitMs)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    const bool ended = (p.waitForFinished(waitMs) || (p.terminate(), p.waitForFinished(10'000))) &&
                       p.exitStatus() == QProcess::NormalExit;
    return QString::fromUtf8(p.readAll()) + QStringLiteral("exit %1").arg(ended ? p.exitCode() : -1);
}

TEST(MorningLook, AStartByHandWithoutAutostartLeavesTheNightAsTheLastPass)
{
    QTemporaryDir root;
    const QString name = QStringLiteral("zb-morning-%1").arg(QCoreApplication::applicationPid());
    const QString program = root.filePath(name);
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));
    {
        IniSettingsStore store(root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini")));
        for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "TASK_1_ENABLE_TICKBOX"})
            store.saveSetting(name, QLatin1String(key), QStringLiteral("1"));
        store.saveSetting(name, QStringLiteral("TASK_1_CMD"), QStringLiteral("/bin/true"));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), root.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("ZB_SEQUENTA_SCHEDULED"), QStringLiteral("1"));

    // The night, started as cron starts it: 11 s of countdown, 21 of chain, 11 of autoclose.
    ASSERT_TRUE(runProgram(program, {}, env, 90'000).endsWith(QStringLiteral("exit 0")));
    env.remove(QStringLiteral("ZB_SEQUENTA_SCHEDULED"));
    const QString last = runProgram(program, {QStringLiteral("--last")}, env, 10'000);
    ASSERT_TRUE(last.contains(QStringLiteral("By schedule")) && last.endsWith(QStringLiteral("exit 0")));

    // The look lasts longer than the countdown would: a pass run then would
    // be the last.
    EXPECT_TRUE(
        runProgram(program, {QStringLiteral("--no-autostart")}, env, 15'000).endsWith(QStringLiteral("exit 0")));
    EXPECT_EQ(runProgram(program, {QStringLiteral("--last")}, env, 10'000).toStdString(), last.toStdString());
}

} // namespace
} // namespace zb
