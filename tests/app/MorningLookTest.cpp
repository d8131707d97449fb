// The first morning of a real user, with the program itself: a night's pass
// started as cron starts it, then a look by hand that runs nothing, after
// which History's journal and --last still tell the night.
#include "platform/qt/IniSettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace zb {
namespace {

const QString kCopyName = QStringLiteral("zb-morning-%1").arg(QCoreApplication::applicationPid());

struct Ended {
    int exitCode = -1;
    QString output;
};

Ended runProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env, int waitMs,
               bool terminateAfterWait = false)
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10'000))
        return {};
    if (!p.waitForFinished(waitMs) && terminateAfterWait) {
        p.terminate();
        p.waitForFinished(10'000);
    }
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAll())};
}

TEST(MorningLook, AStartByHandWithoutAutostartLeavesTheNightAsTheLastPass)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString folder = root.filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + QLatin1Char('/') + kCopyName;
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));
    const QString stamp = root.filePath(QStringLiteral("ran"));
    const QString ini = root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini"));
    {
        IniSettingsStore store(ini);
        for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "TASK_1_ENABLE_TICKBOX"})
            store.saveSetting(kCopyName, QLatin1String(key), QStringLiteral("1"));
        store.saveSetting(kCopyName, QStringLiteral("AlwaysOnTopTimer_TICKBOX"), QStringLiteral("0"));
        store.saveSetting(kCopyName, QStringLiteral("TASK_1_CMD"),
                          QStringLiteral("/bin/sh -c \"echo ran >> %1\"").arg(stamp));
    }
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), root.filePath(QStringLiteral("state")));
    QProcessEnvironment night = env;
    night.insert(QStringLiteral("ZB_SEQUENTA_SCHEDULED"), QStringLiteral("1"));

    // The night: about 11 s of countdown, 21 of chain, 11 of autoclose.
    const Ended ran = runProgram(program, {}, night, 90'000);
    ASSERT_EQ(ran.exitCode, 0) << ran.output.toStdString();
    const Ended last = runProgram(program, {QStringLiteral("--last")}, env, 10'000);
    ASSERT_EQ(last.exitCode, 0) << last.output.toStdString();
    ASSERT_TRUE(last.output.contains(QStringLiteral("By schedule"))) << last.output.toStdString();

    // The look: longer than the countdown, then closed as a logout closes it.
    const Ended look = runProgram(program, {QStringLiteral("--no-autostart")}, env, 15'000, true);
    EXPECT_EQ(look.exitCode, 0) << look.output.toStdString();
    QFile ranFile(stamp);
    ASSERT_TRUE(ranFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(ranFile.readAll(), QByteArray("ran\n")) << "the chain ran once, in the night";

    const Ended after = runProgram(program, {QStringLiteral("--last")}, env, 10'000);
    EXPECT_EQ(after.exitCode, 0);
    EXPECT_EQ(after.output.toStdString(), last.output.toStdString());
    EXPECT_EQ(IniSettingsStore(ini).getSetting(kCopyName, QStringLiteral("LAST_RUN"), QString()),
              QStringLiteral("COMPLETED SUCCESSFULLY"));
}

} // namespace
} // namespace zb
