#include "platform/linux/LinuxSingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <string>

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

// Anything at the lock's place that is not ours and private refuses the
// claim, with the reason, and never runs the copy unguarded.
TEST(LinuxSingleInstance, ALockPlaceThatIsNotOursAndPrivateRefusesToRun)
{
    struct Case {
        const char* what;
        std::function<void(const QString& folder, const QString& lock)> plant;
        const char* reason;
    };
    const Case cases[] = {
        {"a link at the lock",
         [](const QString&, const QString& lock) { QFile::link(QStringLiteral("/etc/passwd"), lock); },
         "is a symbolic link"},
        {"a folder at the lock", [](const QString&, const QString& lock) { QDir().mkpath(lock); },
         "is not a plain file"},
        {"a lock folder others can write",
         [](const QString& folder, const QString&) { chmod(QFile::encodeName(folder).constData(), 0777); },
         "open to other users"},
        {"a lock folder of another user",
         [](const QString& folder, const QString&) { (void)!chown(QFile::encodeName(folder).constData(), 4242, 4242); },
         "belongs to user 4242"},
        {"a link for the lock folder",
         [](const QString& folder, const QString&) {
             QDir(folder).removeRecursively();
             QFile::link(QDir::tempPath(), folder);
         },
         "is a symbolic link"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("ZB-SEQUENTA-x"));
        ASSERT_EQ(mkdir(QFile::encodeName(folder).constData(), 0700), 0);
        c.plant(folder, folder + QStringLiteral("/zb.lock"));
        if (std::string(c.what) == "a lock folder of another user" && geteuid() != 0)
            continue; // only root can give a folder away
        LinuxSingleInstance instance(folder, root.filePath(QStringLiteral("spare"))); // unsafe is never passed over
        EXPECT_FALSE(instance.claim(QStringLiteral("zb")));
        EXPECT_TRUE(instance.refusal().contains(QLatin1String(c.reason))) << instance.refusal().toStdString();
        EXPECT_EQ(instance.runningPid(), 0);
    }
    EXPECT_FALSE(LinuxSingleInstance(QString()).claim(QStringLiteral("zb")));
    QTemporaryDir fine;
    LinuxSingleInstance ours(fine.filePath(QStringLiteral("made")));
    EXPECT_TRUE(ours.claim(QStringLiteral("zb"))) << ours.refusal().toStdString();
    EXPECT_EQ(ours.refusal(), QString());
    struct stat made = {};
    ASSERT_EQ(stat(QFile::encodeName(fine.filePath(QStringLiteral("made"))).constData(), &made), 0);
    EXPECT_EQ(made.st_mode & 0777, 0700u) << "the folder it makes is private";
    EXPECT_EQ(made.st_uid, geteuid());

    // A place that cannot hold files at all (a file where its folder should be) is passed over for the fallback.
    QFile(fine.filePath(QStringLiteral("file"))).open(QIODevice::WriteOnly);
    LinuxSingleInstance fallen(fine.filePath(QStringLiteral("file/locks")), fine.filePath(QStringLiteral("spare")));
    EXPECT_TRUE(fallen.claim(QStringLiteral("zb"))) << fallen.refusal().toStdString();
    EXPECT_TRUE(QFile::exists(fine.filePath(QStringLiteral("spare/zb.lock"))));
    LinuxSingleInstance second(fine.filePath(QStringLiteral("file/locks")), fine.filePath(QStringLiteral("spare")));
    EXPECT_FALSE(second.claim(QStringLiteral("zb")));
    EXPECT_TRUE(second.runs(QStringLiteral("zb")));
}

} // namespace
} // namespace zb
