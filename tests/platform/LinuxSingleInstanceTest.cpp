#include "platform/linux/LinuxSingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zb {
namespace {

TEST(LinuxSingleInstance, OneCopyPerNameUntilItEndsHoweverItEnds)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString names[] = {QStringLiteral("zb-sequenta"), QStringLiteral("../weekly"),
                             QStringLiteral("Tom & Jerry ü"), QString(250, QLatin1Char('n'))};
    for (const QString& name : names) {
        auto first = std::make_unique<LinuxSingleInstance>(dir.path());
        ASSERT_TRUE(first->claim(name)) << qPrintable(name);
        LinuxSingleInstance second(dir.path());
        EXPECT_FALSE(second.claim(name)) << qPrintable(name);
        EXPECT_EQ(second.runningPid(), getpid());
        // Another name is another copy.
        LinuxSingleInstance other(dir.path());
        EXPECT_TRUE(other.claim(name + QStringLiteral("-2")));
        first.reset();
        LinuxSingleInstance third(dir.path());
        EXPECT_TRUE(third.claim(name)) << "a closed copy still holds " << qPrintable(name);
    }
    // Nothing was made outside the folder.
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/../weekly.lock")));

    // A copy that is killed gives its name up too.
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        LinuxSingleInstance held(dir.path());
        const char ok = held.claim(QStringLiteral("nightly")) ? 'y' : 'n';
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 'y');
    LinuxSingleInstance blocked(dir.path());
    EXPECT_FALSE(blocked.claim(QStringLiteral("nightly")));
    EXPECT_EQ(blocked.runningPid(), child);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    LinuxSingleInstance after(dir.path());
    EXPECT_TRUE(after.claim(QStringLiteral("nightly")));
}

TEST(LinuxSingleInstance, WhetherACopyRunsIsToldWithoutClaimingItsName)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const LinuxSingleInstance asker(dir.path());
    EXPECT_FALSE(asker.runs(QStringLiteral("nightly"))) << "never started";
    {
        LinuxSingleInstance running(dir.path());
        ASSERT_TRUE(running.claim(QStringLiteral("nightly")));
        EXPECT_TRUE(asker.runs(QStringLiteral("nightly")));
        EXPECT_FALSE(asker.runs(QStringLiteral("weekly")));
        // Asking took nothing: the name is still held, and only by it.
        LinuxSingleInstance second(dir.path());
        EXPECT_FALSE(second.claim(QStringLiteral("nightly")));
    }
    EXPECT_FALSE(asker.runs(QStringLiteral("nightly"))) << "its lock file stays, its lock does not";
    LinuxSingleInstance next(dir.path());
    EXPECT_TRUE(next.claim(QStringLiteral("nightly")));
}

TEST(LinuxSingleInstance, SecondCopyBringsTheRunningOneForward)
{
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    LinuxSingleInstance running(dir.path());
    ASSERT_TRUE(running.claim(QStringLiteral("weekly")));
    int requests = 0;
    running.onActivationRequest([&requests] { ++requests; });

    LinuxSingleInstance second(dir.path());
    ASSERT_FALSE(second.claim(QStringLiteral("weekly")));
    EXPECT_TRUE(second.askRunningToActivate());
    const QDeadlineTimer deadline(5000);
    while (requests == 0 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_EQ(requests, 1);
}

TEST(LinuxSingleInstance, RuntimeFolderIsPrivateEvenWithoutXdgRuntimeDir)
{
    QTemporaryDir shared;
    ASSERT_EQ(chmod(QFile::encodeName(shared.path()).constData(), 0777), 0);
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    for (const QByteArray& value : {QByteArray(), QFile::encodeName(shared.path()), QByteArray("relative")}) {
        if (value.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", value);
        const QString folder = LinuxSingleInstance::runtimeFolder();
        ASSERT_FALSE(folder.isEmpty()) << value.constData();
        EXPECT_FALSE(folder.startsWith(shared.path())) << "a folder others can write is no place for the lock";
        struct stat st = {};
        ASSERT_EQ(lstat(QFile::encodeName(folder).constData(), &st), 0);
        EXPECT_EQ(st.st_mode & 077, 0u);
        EXPECT_EQ(st.st_uid, geteuid());
    }
    QTemporaryDir own;
    ASSERT_EQ(chmod(QFile::encodeName(own.path()).constData(), 0700), 0);
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own.path()));
    EXPECT_EQ(LinuxSingleInstance::runtimeFolder(), own.path() + QStringLiteral("/ZB-SEQUENTA"));
    if (saved.isEmpty())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", saved);
}

} // namespace
} // namespace zb
