#include "platform/linux/PosixLauncher.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace zb {
namespace {

bool waitForFile(const QString& path, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (QFile::exists(path) && QFileInfo(path).size() > 0)
            return true;
        QThread::msleep(10);
    }
    return false;
}

QString readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

void writeScript(const QString& path, const QByteArray& body)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(PosixLauncher, SplitsLikeACommandLineUnlessTheWholeTextIsAnExecutable)
{
    QTemporaryDir dir;
    const QString spaced = dir.path() + QStringLiteral("/my job.sh");
    writeScript(spaced, "exit 0\n");
    EXPECT_EQ(PosixLauncher::splitCommand(spaced), QStringList{spaced});
    EXPECT_EQ(PosixLauncher::splitCommand(QStringLiteral("/bin/echo \"a b\" c")),
              (QStringList{QStringLiteral("/bin/echo"), QStringLiteral("a b"), QStringLiteral("c")}));
    EXPECT_EQ(PosixLauncher::splitCommand(QStringLiteral("   ")), QStringList{});
}

TEST(PosixLauncher, StartsARealDetachedProcessThatOutlivesTheLauncher)
{
    QTemporaryDir dir;
    const QString out = dir.path() + QStringLiteral("/out.txt");
    const QString script = dir.path() + QStringLiteral("/job with blanks.sh");
    // Writes its pid and session, then lives on for a while.
    writeScript(script, "echo \"$$ $(ps -o sid= -p $$)\" > \"$1\"\nexec sleep 30\n");
    {
        auto launcher = std::make_unique<PosixLauncher>();
        const LaunchResult r =
            launcher->launch(QStringLiteral("\"%1\" \"%2\"").arg(script, out), WindowStyle::NormalFocus);
        ASSERT_TRUE(r.started) << r.error.toStdString();
    }
    ASSERT_TRUE(waitForFile(out));
    const QStringList fields = readAll(out).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_EQ(fields.size(), 2);
    const pid_t pid = fields[0].toInt();
    EXPECT_EQ(::kill(pid, 0), 0) << "still running after the launcher is gone";
    EXPECT_NE(fields[1].toInt(), getsid(0)) << "runs in a session of its own";
    ::kill(pid, SIGTERM);
}

TEST(PosixLauncher, TheEventLoopReapsAnEndedTaskAndTellsHowItEnded)
{
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString output = dir.path() + QStringLiteral("/new folder/out.log");
    PosixLauncher launcher;
    QList<ProcessEnd> ends;
    launcher.onEnded = [&](const ProcessEnd& end) { ends << end; };
    const LaunchResult r = launcher.launchLogged(QStringLiteral("/bin/sh -c \"echo said; sleep 0.2; exit 5\""), output);
    ASSERT_TRUE(r.started) << r.error.toStdString();
    QDeadlineTimer deadline(10000);
    while (ends.isEmpty() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    ASSERT_EQ(ends.size(), 1);
    EXPECT_EQ(ends[0].pid, r.pid);
    EXPECT_EQ(ends[0].exitCode, 5);
    EXPECT_GE(ends[0].runMs, 200);
    EXPECT_EQ(launcher.children(), 0);
    EXPECT_EQ(readAll(output), QStringLiteral("said"));
    EXPECT_EQ(::kill(static_cast<pid_t>(r.pid), 0), -1) << "reaped, not left as a zombie";

    // Where the kernel refuses pidfds, the event loop looks for ended tasks.
    launcher.usePidFds = false;
    launcher.launch(QStringLiteral("/bin/true"), WindowStyle::Hidden);
    while (ends.size() < 2 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    EXPECT_EQ(ends.size(), 2);
}

TEST(PosixLauncher, AwaitingAChildReportsItsEndOrGivesUpInTime)
{
    PosixLauncher launcher;
    QList<ProcessEnd> ends;
    launcher.onEnded = [&](const ProcessEnd& end) { ends << end; };
    const LaunchResult quick = launcher.launchArgv(
        {QStringLiteral("/bin/sh"), QStringLiteral("-c"), QStringLiteral("sleep 0.2; exit 4")}, WindowStyle::Hidden);
    const LaunchResult slow =
        launcher.launchArgv({QStringLiteral("/bin/sleep"), QStringLiteral("30")}, WindowStyle::Hidden);
    ASSERT_TRUE(quick.started && slow.started);
    EXPECT_TRUE(launcher.awaitEnd(quick.pid, 10'000));
    ASSERT_EQ(ends.size(), 1);
    EXPECT_EQ(ends[0].exitCode, 4);
    EXPECT_FALSE(launcher.awaitEnd(slow.pid, 100));
    EXPECT_EQ(ends.size(), 1);
    ::kill(static_cast<pid_t>(slow.pid), SIGKILL);
    EXPECT_TRUE(launcher.awaitEnd(slow.pid, 10'000));
    EXPECT_EQ(ends.last().signal, SIGKILL);
    EXPECT_TRUE(launcher.awaitEnd(slow.pid, 0)) << "reported already";
}

// A hung task that shrugs off SIGTERM, with a child of its own: SIGKILL to
// its group ends both, and then nothing of the group is left to signal.
TEST(PosixLauncher, SignallingATasksGroupReachesWhatItStartedToo)
{
    PosixLauncher launcher;
    QList<ProcessEnd> ends;
    launcher.onEnded = [&](const ProcessEnd& end) { ends << end; };
    const LaunchResult hung = launcher.launchArgv(
        {QStringLiteral("/bin/sh"), QStringLiteral("-c"), QStringLiteral("trap '' TERM; sleep 30 & wait; wait")},
        WindowStyle::Hidden);
    ASSERT_TRUE(hung.started);
    QThread::msleep(200);
    EXPECT_TRUE(launcher.signalGroup(hung.pid, StopSignal::Terminate));
    EXPECT_FALSE(launcher.awaitEnd(hung.pid, 300)) << "SIGTERM ignored";
    EXPECT_TRUE(launcher.signalGroup(hung.pid, StopSignal::Kill));
    ASSERT_TRUE(launcher.awaitEnd(hung.pid, 10'000));
    EXPECT_EQ(ends.last().signal, SIGKILL);
    QDeadlineTimer deadline(5000);
    while (launcher.signalGroup(hung.pid, StopSignal::Terminate) && !deadline.hasExpired())
        QThread::msleep(20);
    EXPECT_FALSE(launcher.signalGroup(hung.pid, StopSignal::Terminate)) << "the child went with it";
}

TEST(PosixLauncher, AWholePathWithBlanksRunsAsOneProgram)
{
    QTemporaryDir dir;
    const QString out = dir.path() + QStringLiteral("/ran.txt");
    const QString script = dir.path() + QStringLiteral("/a program.sh");
    writeScript(script, QByteArray("echo ran > '") + out.toUtf8() + "'\n");
    ASSERT_TRUE(PosixLauncher().launch(script, WindowStyle::Hidden).started);
    ASSERT_TRUE(waitForFile(out));
    EXPECT_EQ(readAll(out), QStringLiteral("ran"));
}

TEST(PosixLauncher, WordsGivenOneByOneReachTheProgramUnchanged)
{
    QTemporaryDir dir;
    const QString out = dir.path() + QStringLiteral("/words.txt");
    const QString script = dir.path() + QStringLiteral("/it's a \"job\".sh");
    writeScript(script, "printf '%s|%s' \"$1\" \"$2\" > \"$3\"\n");
    const QString odd = QStringLiteral("a \"b\" 'c' $HOME ; d");
    const LaunchResult r =
        PosixLauncher().launchArgv({QStringLiteral("/bin/sh"), script, odd, QString(), out}, WindowStyle::Hidden);
    ASSERT_TRUE(r.started) << r.error.toStdString();
    ASSERT_TRUE(waitForFile(out));
    EXPECT_EQ(readAll(out), odd + QLatin1Char('|'));
    EXPECT_FALSE(PosixLauncher().launchArgv({}, WindowStyle::Hidden).started);
    EXPECT_FALSE(PosixLauncher().launchArgv({dir.path() + QStringLiteral("/missing.sh")}, WindowStyle::Hidden).started);
}

TEST(PosixLauncher, CommandsThatCannotStartReportWhy)
{
    QTemporaryDir dir;
    const QString notExecutable = dir.path() + QStringLiteral("/plain.txt");
    QFile f(notExecutable);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    PosixLauncher launcher;
    for (const QString& command : {QString(), QStringLiteral("   "), QStringLiteral("no-such-program-zb --x"),
                                   QStringLiteral("/nonexistent/dir/prog"), notExecutable}) {
        const LaunchResult r = launcher.launch(command, WindowStyle::NormalFocus);
        EXPECT_FALSE(r.started) << command.toStdString();
        EXPECT_FALSE(r.error.isEmpty()) << command.toStdString();
    }
}

} // namespace
} // namespace zb
