// A second copy started under a name that is already running leaves the
// running copy and the settings file alone.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace zb {
namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

TEST(SingleInstance, ASecondCopyUnderTheSameNameSaysWhoRunsAndExitsOneWithoutSaving)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    // The lock folder is the user's one, shared with any other run of this
    // test on the machine: the name is this run's own.
    const QString copy = QStringLiteral("zb-twice-%1").arg(QCoreApplication::applicationPid());
    const QString program = root.filePath(copy);
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));
    QDir(root.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(root.filePath(QStringLiteral("runtime")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_STATE_HOME"), root.filePath(QStringLiteral("state")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.filePath(QStringLiteral("runtime")));

    const QString ini = root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini"));
    QDir(root.path()).mkpath(QStringLiteral("config/ZB-SEQUENTA"));
    {
        QFile seed(ini);
        ASSERT_TRUE(seed.open(QIODevice::WriteOnly));
        seed.write("# mine\n[" + copy.toUtf8() + "]\nTASK_1_TICKBOX_CAPTION=Back up\n");
    }

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(program, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    QThread::msleep(1500); // let it claim its name
    const QByteArray before = fileBytes(ini);

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(program, {});
    ASSERT_TRUE(second.waitForFinished(40000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 1);
    const QString said = QString::fromLocal8Bit(second.readAllStandardError());
    EXPECT_TRUE(said.contains(QStringLiteral("%1 is already running (pid %2)").arg(copy).arg(first.processId())))
        << qPrintable(said);
    EXPECT_TRUE(before.contains("Back up"));
    EXPECT_EQ(fileBytes(ini), before);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitCode(), 0);
}

} // namespace
} // namespace zb
