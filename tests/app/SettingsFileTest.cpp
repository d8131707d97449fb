// The real program against a settings file written by hand, and against a
// settings folder it cannot write.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

namespace zb {
namespace {

// Starts the program as `copy` with its settings under `config`, lets the
// window open, closes it with SIGTERM and returns what it wrote on stderr.
QByteArray runAndClose(const QTemporaryDir& root, const QString& copy, const QString& config, int* exitCode)
{
    const QString program = root.filePath(copy);
    QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program);
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config);
    process.setProcessEnvironment(env);
    process.start(program, {});
    if (!process.waitForStarted(10'000))
        return "did not start";
    QThread::msleep(1500);
    ::kill(static_cast<pid_t>(process.processId()), SIGTERM);
    if (!process.waitForFinished(20'000)) {
        process.kill();
        process.waitForFinished();
        return "did not close";
    }
    *exitCode = process.exitCode();
    return process.readAllStandardError();
}

TEST(SettingsFile, AHandWrittenFileKeepsEveryLineThroughARun)
{
    QTemporaryDir root;
    const QString config = root.filePath(QStringLiteral("config"));
    const QString ini = config + QStringLiteral("/ZB-SEQUENTA/ZB-SEQUENTA.ini");
    QDir().mkpath(QFileInfo(ini).absolutePath());
    const QByteArray handWritten = "# my copies\n"
                                   "[nightly]\n"
                                   "TASK_1_CMD=/bin/sh -c \"cd /tmp; echo ran >> log\"\n"
                                   "TASK_2_CMD=argv.sh \"q r\" s,t\n"
                                   "TASK_5_ENA\n"
                                   "[weekly]\n"
                                   "TASK_1_CMD=weekly job\n";
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(handWritten);
    file.close();

    int exitCode = -1;
    const QByteArray errors = runAndClose(root, QStringLiteral("nightly"), config, &exitCode);
    EXPECT_EQ(exitCode, 0) << errors.toStdString();
    EXPECT_TRUE(errors.contains("line 5 not understood, kept as is")) << errors.toStdString();

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    EXPECT_TRUE(after.startsWith("# my copies\n[nightly]\n"
                                 "TASK_1_CMD=/bin/sh -c \"cd /tmp; echo ran >> log\"\n"
                                 "TASK_2_CMD=argv.sh \"q r\" s,t\n"))
        << after.toStdString();
    EXPECT_TRUE(after.contains("TASK_5_ENA\n[weekly]\nTASK_1_CMD=weekly job\n")) << after.toStdString();
    EXPECT_TRUE(after.contains("TASK_20_PAUSE_TICKBOX=0\n")) << "the shut-down was saved";
    EXPECT_EQ(QDir(QFileInfo(ini).absolutePath()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("ZB-SEQUENTA.ini")});
}

TEST(SettingsFile, ASaveThatFailsIsSaidOnStderr)
{
    QTemporaryDir root;
    const QString config = root.filePath(QStringLiteral("config"));
    QDir().mkpath(config);
    QFile blocker(config + QStringLiteral("/ZB-SEQUENTA")); // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    int exitCode = -1;
    const QByteArray errors = runAndClose(root, QStringLiteral("zb-readonly"), config, &exitCode);
    EXPECT_EQ(exitCode, 1) << "the close could not save";
    EXPECT_EQ(errors.count("cannot write the settings file " + QFile::encodeName(config)), 1) << errors.toStdString();
}

} // namespace
} // namespace zb
