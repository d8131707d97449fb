#include "platform/linux/ProcFsProcessQuery.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace zb {
namespace {

// Polls until pred() holds; generous, as a loaded machine may be slow to
// start a process. Not a timing assertion.
bool eventually(const std::function<bool()>& pred, int ms = 10'000)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired()) {
        if (pred())
            return true;
        QThread::msleep(20);
    }
    return pred();
}

// A real child process in a process group of its own, killed and reaped at
// the end of the test.
class Child {
public:
    explicit Child(const QStringList& argv)
    {
        std::vector<QByteArray> words;
        for (const QString& w : argv)
            words.push_back(QFile::encodeName(w));
        std::vector<char*> args;
        args.reserve(words.size() + 1);
        for (QByteArray& w : words)
            args.push_back(w.data());
        args.push_back(nullptr);
        posix_spawnattr_t attr;
        posix_spawnattr_init(&attr);
        posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        if (posix_spawn(&pid_, args[0], &actions, &attr, args.data(), environ) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    ~Child() { end(); }

    pid_t pid() const { return pid_; }
    // Kills the whole group without reaping: the child stays a zombie.
    void kill() const
    {
        if (pid_ > 0)
            ::kill(-pid_, SIGKILL);
    }
    void end()
    {
        if (pid_ <= 0)
            return;
        kill();
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    char state() const
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid_));
        if (!stat.open(QIODevice::ReadOnly))
            return '?';
        const QByteArray text = stat.readAll();
        const qsizetype close = text.lastIndexOf(')');
        return close >= 0 && close + 2 < text.size() ? text[close + 2] : '?';
    }

private:
    pid_t pid_ = -1;
};

bool runs(ProcessQuery& query, const QString& name) { return query.isProcessRunning(name) == ProcessPresence::Running; }

// A name no other process on the machine has.
QString uniqueName(const char* stem) { return QStringLiteral("%1%2").arg(QLatin1String(stem)).arg(getpid()); }

QString copyOfSleep(const QTemporaryDir& dir, const QString& name)
{
    QString target = dir.filePath(name);
    QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::ExeOwner);
    return target;
}

QString writeScript(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
    QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(text);
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

TEST(ProcFsProcessQuery, FindsARunningSleepUnderItsName)
{
    ProcFsProcessQuery query;
    Child sleeper({QStandardPaths::findExecutable(QStringLiteral("sleep")), QStringLiteral("60")});
    ASSERT_GT(sleeper.pid(), 0);
    EXPECT_TRUE(eventually([&] { return runs(query, QStringLiteral("sleep")); }));
    EXPECT_FALSE(runs(query, QStringLiteral("slee")));
    EXPECT_FALSE(runs(query, QStringLiteral("sleep ")));
    EXPECT_FALSE(runs(query, QStringLiteral("SLEEP")));
}

TEST(ProcFsProcessQuery, TheProgramItselfNeverCountsAndOneProcessCanBeAsked)
{
    ProcFsProcessQuery query;
    // Under a name of its own: other tests of this binary may run beside it.
    char oldName[16] = {};
    prctl(PR_GET_NAME, oldName);
    const QString self = uniqueName("zbself");
    prctl(PR_SET_NAME, self.toLatin1().constData());
    QFile comm(QStringLiteral("/proc/self/comm"));
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    ASSERT_EQ(comm.readAll().trimmed(), self.toLatin1());
    EXPECT_FALSE(runs(query, self)) << "a copy named as its own task would wait forever";
    EXPECT_FALSE(query.answersTo(getpid(), self));
    prctl(PR_SET_NAME, oldName);

    Child sleeper({QStandardPaths::findExecutable(QStringLiteral("sleep")), QStringLiteral("60")});
    ASSERT_GT(sleeper.pid(), 0);
    EXPECT_TRUE(eventually([&] { return query.answersTo(sleeper.pid(), QStringLiteral("sleep")); }));
    EXPECT_FALSE(query.answersTo(sleeper.pid(), QStringLiteral("cat")));
    EXPECT_FALSE(query.answersTo(sleeper.pid(), QString()));
    EXPECT_FALSE(query.answersTo(999'999'999, QStringLiteral("sleep")));
}

TEST(ProcFsProcessQuery, FindsProgramsAndScriptsByTheirOwnNamesUntilTheyExit)
{
    QTemporaryDir dir;
    const QString nap = uniqueName("zbnap");
    const QString longName = uniqueName("zb-a-program-named-at-length-");
    const QString shScript = uniqueName("zb-nightly-shell-job-") + QStringLiteral(".sh");
    const QString envScript = uniqueName("zb-env-bash-job-") + QStringLiteral(".sh");
    const QString perlScript = uniqueName("zb-report-") + QStringLiteral(".pl");
    const QString perl = QStandardPaths::findExecutable(QStringLiteral("perl"));

    const struct {
        QString name;
        QStringList argv;
    } cases[] = {
        {nap, {copyOfSleep(dir, nap), QStringLiteral("60")}},
        {longName, {copyOfSleep(dir, longName), QStringLiteral("60")}},
        {shScript, {writeScript(dir, shScript, "#!/bin/sh\nsleep 60\n")}},
        {envScript, {writeScript(dir, envScript, "#!/usr/bin/env bash\nsleep 60\n")}},
        {perlScript, {perl, writeScript(dir, perlScript, "sleep 60;\n")}},
    };
    ProcFsProcessQuery query;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        if (c.argv.first().isEmpty()) {
            ADD_FAILURE() << "interpreter not installed";
            continue;
        }
        ASSERT_FALSE(runs(query, c.name));
        Child child(c.argv);
        ASSERT_GT(child.pid(), 0);
        EXPECT_TRUE(eventually([&] { return runs(query, c.name); }));
        // A long name is not found under its first fifteen characters.
        if (c.name.size() > 15) {
            EXPECT_FALSE(runs(query, c.name.left(15)));
        }
        // A shell's forked children share its command line and die with
        // its group, a moment after the shell itself is reaped.
        child.end();
        EXPECT_TRUE(eventually([&] { return !runs(query, c.name); }));
    }
}

TEST(ProcFsProcessQuery, AnExitedProcessNotYetReapedIsNotRunning)
{
    QTemporaryDir dir;
    const QString nap = uniqueName("zbzom");
    Child child({copyOfSleep(dir, nap), QStringLiteral("60")});
    ProcFsProcessQuery query;
    ASSERT_TRUE(eventually([&] { return runs(query, nap); }));
    child.kill();
    ASSERT_TRUE(eventually([&] { return child.state() == 'Z'; }));
    EXPECT_FALSE(runs(query, nap));
}

// A call lists only the part of the table that can hold new processes: one
// started since the last call must be in it.
TEST(ProcFsProcessQuery, AProcessStartedBetweenTwoCallsIsFoundAtTheNext)
{
    QTemporaryDir dir;
    ProcFsProcessQuery query;
    for (int i = 0; i < 3; ++i) {
        const QString nap = uniqueName("zbnext") + QString::number(i);
        EXPECT_FALSE(runs(query, nap));
        Child child({copyOfSleep(dir, nap), QStringLiteral("60")});
        ASSERT_GT(child.pid(), 0);
        EXPECT_TRUE(runs(query, nap)) << i;
        child.end();
        EXPECT_FALSE(runs(query, nap)) << i;
    }
}

TEST(ProcFsProcessQuery, NamesThatMatchNothing)
{
    ProcFsProcessQuery query;
    for (const QString& name :
         {QString(), QStringLiteral("it's"), QStringLiteral("\"sleep\""), QStringLiteral("sleep' OR '1'='1"),
          QStringLiteral("ñandú.exe"), QStringLiteral("*"), QStringLiteral("..")})
        EXPECT_FALSE(runs(query, name)) << name.toStdString();
}

// A process table laid out by hand, for the cases real processes cannot be
// made to show on demand.
class FakeProcTree {
public:
    // Adds a process, or changes what an existing one shows.
    // Without a start time, a process is read at every call.
    void add(const QString& pid, const QByteArray& comm, char state, const QString& exe, const QByteArray& cmdline,
             long long started = -1)
    {
        QDir().mkpath(dir_.filePath(pid));
        write(pid + QStringLiteral("/comm"), comm + '\n');
        const QByteArray rest =
            started < 0 ? " 1 1 1 0 -1"
                        : " 1 1 1 0 -1 4194304 90 0 0 0 3 1 0 0 20 0 1 0 " + QByteArray::number(started) + " 8192 100";
        write(pid + QStringLiteral("/stat"), pid.toUtf8() + " (" + comm + ") " + state + rest + '\n');
        write(pid + QStringLiteral("/cmdline"), cmdline);
        QFile::remove(dir_.filePath(pid + QStringLiteral("/exe")));
        if (!exe.isEmpty())
            QFile::link(exe, dir_.filePath(pid + QStringLiteral("/exe")));
    }
    // A new process under the pid of one that has gone: a new /proc entry.
    void replace(const QString& pid, const QByteArray& comm, char state, const QString& exe, const QByteArray& cmdline)
    {
        const QString next = pid + QStringLiteral(".next");
        add(next, comm, state, exe, cmdline);
        QDir(dir_.filePath(pid)).removeRecursively();
        QDir(dir_.path()).rename(next, pid);
    }
    void addEmpty(const QString& name) { QDir().mkpath(dir_.filePath(name)); }
    std::string root() const { return QFile::encodeName(dir_.path()).toStdString(); }

private:
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir_.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }
    QTemporaryDir dir_;
};

TEST(ProcFsProcessQuery, ScanRulesOverAHandMadeTable)
{
    using namespace Qt::StringLiterals;
    FakeProcTree tree;
    tree.add(u"2"_s, "kthreadd", 'S', QString(), QByteArray());
    tree.add(u"100"_s, "alpha", 'S', u"/usr/bin/alpha-real"_s, QByteArray("alpha\0--x\0", 10));
    tree.add(u"101"_s, "ghost", 'Z', QString(), QByteArray());
    tree.add(u"102"_s, "we ird) Z", 'R', u"/opt/odd"_s, QByteArray("odd\0", 4));
    tree.add(u"103"_s, "worker", 'S', u"/opt/app/worker-2 (deleted)"_s, QByteArray("w\0", 2));
    tree.add(u"104"_s, "python3", 'S', u"/usr/bin/python3.11"_s, QByteArray("python3\0-u\0/srv/nightly.py\0", 27));
    tree.add(u"105"_s, "a-very-long-pro", 'S', u"/opt/bin/a-very-long-program"_s,
             QByteArray("a-very-long-program\0", 20));
    tree.add(u"106"_s, "dead", 'X', u"/bin/dead"_s, QByteArray("dead\0", 5));
    tree.add(u"107"_s, "stopped", 'T', u"/bin/stopped"_s, QByteArray("stopped\0", 8));
    tree.add(u"self"_s, "intruder", 'S', u"/bin/intruder"_s, QByteArray("intruder\0", 9));
    tree.addEmpty(u"108"_s); // vanished while listed: nothing to read
    ProcFsProcessQuery query(tree.root());

    const struct {
        const char* name;
        bool running;
    } cases[] = {
        {"kthreadd", true},   // a kernel thread by its command name
        {"alpha", true},      // command name and first word
        {"alpha-real", true}, // executable
        {"ghost", false},     // zombie
        {"we ird) Z", true},  // state read after the last ')'
        {"odd", true},        //
        {"worker-2", true},   // a replaced executable keeps its name
        {"worker-2 (deleted)", false},
        {"nightly.py", true}, // interpreter's script
        {"python3.11", true}, //
        {"a-very-long-program", true},
        {"a-very-long-pro", false}, // the cut command name alone does not count
        {"dead", false},            //
        {"stopped", true},          // stopped is still there
        {"intruder", false},        // not a process directory
        {"108", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(runs(query, QString::fromUtf8(c.name)), c.running) << c.name;
}

TEST(ProcFsProcessQuery, AListThatCannotBeReadIsUnknownNotEmpty)
{
    QTemporaryDir empty;
    for (const std::string& root : {std::string("/nonexistent/proc"), QFile::encodeName(empty.path()).toStdString()}) {
        ProcFsProcessQuery query(root);
        EXPECT_EQ(query.isProcessRunning(QStringLiteral("alpha")), ProcessPresence::Unknown) << root;
        EXPECT_EQ(query.isProcessRunning(QString()), ProcessPresence::Unknown) << root;
    }
    FakeProcTree tree;
    tree.add(QStringLiteral("100"), "alpha", 'S', QStringLiteral("/bin/alpha"), QByteArray("alpha\0", 6));
    EXPECT_EQ(ProcFsProcessQuery(tree.root()).isProcessRunning(QStringLiteral("beta")), ProcessPresence::NotRunning);
}

// The table read ahead is handed to the first call, whenever it comes: before,
// while or after it is read, that call and the next answer as a query that
// read it all itself.
TEST(ProcFsProcessQuery, ACallDuringTheReadAheadAnswersAsWithoutIt)
{
    using namespace Qt::StringLiterals;
    timespec now = {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const long long old = (now.tv_sec - ProcFsProcessQuery::kYoungSeconds - 5) * sysconf(_SC_CLK_TCK);
    FakeProcTree tree;
    // Enough processes that the first call often comes while they are read.
    for (int pid = 1000; pid < 1300; ++pid)
        tree.add(QString::number(pid), "sleep", 'S', u"/bin/sleep"_s,
                 QByteArray("sleep\0"
                            "60\0",
                            9),
                 old);
    tree.add(u"1300"_s, "python3", 'S', u"/usr/bin/python3.11"_s, QByteArray("python3\0-u\0/srv/nightly.py\0", 27),
             old);
    tree.add(u"1301"_s, "ghost", 'Z', QString(), QByteArray(), old);
    const QString names[] = {u"nightly.py"_s, u"python3.11"_s, u"sleep"_s, u"ghost"_s, u"absent"_s};
    ProcFsProcessQuery cold(tree.root());
    for (int round = 0; round < 10; ++round) {
        ProcFsProcessQuery ahead(tree.root());
        ahead.readAhead();
        for (const QString& name : names)
            EXPECT_EQ(ahead.isProcessRunning(name), cold.isProcessRunning(name)) << name.toStdString();
    }
}

// Names kept from an earlier call must never outlive the process they were
// read from, and what a process changes in place is seen within a few calls.
TEST(ProcFsProcessQuery, KeptNamesFollowANewProcessUnderThePidAnExecAndARename)
{
    using namespace Qt::StringLiterals;
    FakeProcTree tree;
    tree.add(u"300"_s, "python3", 'S', u"/usr/bin/python3.11"_s, QByteArray("python3\0old.py\0", 15));
    ProcFsProcessQuery query(tree.root());
    EXPECT_TRUE(runs(query, u"old.py"_s));
    EXPECT_FALSE(runs(query, u"new.py"_s));

    // The pid is taken by a new process of the same program.
    tree.replace(u"300"_s, "python3", 'S', u"/usr/bin/python3.11"_s, QByteArray("python3\0new.py\0", 15));
    EXPECT_TRUE(runs(query, u"new.py"_s));
    EXPECT_FALSE(runs(query, u"old.py"_s));

    // The same process runs another program.
    tree.add(u"300"_s, "perl", 'S', u"/usr/bin/perl"_s, QByteArray("perl\0-I\0/tmp\0tidy.pl\0", 21));
    EXPECT_TRUE(runs(query, u"tidy.pl"_s));
    EXPECT_FALSE(runs(query, u"new.py"_s));
    EXPECT_FALSE(runs(query, u"tmp"_s));

    // It renames itself without a new program: found under the new name
    // within a few calls, and no longer under the old one.
    tree.add(u"300"_s, "tidy-worker", 'S', u"/usr/bin/perl"_s, QByteArray("tidy: worker\0", 13));
    int calls = 1;
    while (!runs(query, u"tidy-worker"_s) && calls <= int(ProcFsProcessQuery::kRefreshEvery))
        ++calls;
    EXPECT_LE(calls, int(ProcFsProcessQuery::kRefreshEvery));
    EXPECT_FALSE(runs(query, u"tidy.pl"_s));

    // It exits and stays unreaped.
    tree.add(u"300"_s, "perl", 'Z', QString(), QByteArray());
    EXPECT_FALSE(runs(query, u"perl"_s));
}

// What is kept of a process is trusted only once it is past the age at which
// a task's launcher starts its real program.
TEST(ProcFsProcessQuery, AYoungProcessIsReadAtEveryCallAnOldOneWithinAFewCalls)
{
    using namespace Qt::StringLiterals;
    timespec now = {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const long long hz = sysconf(_SC_CLK_TCK);
    const long long young = now.tv_sec * hz;
    const long long old = young - (ProcFsProcessQuery::kYoungSeconds + 5) * hz;
    FakeProcTree tree;
    tree.add(u"400"_s, "sh", 'S', u"/bin/sh"_s, QByteArray("sh\0-c\0x\0", 8), young);
    tree.add(u"401"_s, "sh", 'S', u"/bin/sh"_s, QByteArray("sh\0-c\0x\0", 8), old);
    ProcFsProcessQuery query(tree.root());
    EXPECT_FALSE(runs(query, u"setup"_s));

    tree.add(u"400"_s, "setup", 'S', u"/opt/setup"_s, QByteArray("setup\0", 6), young);
    EXPECT_TRUE(runs(query, u"setup"_s)) << "a launcher that became its program is seen at once";
    tree.add(u"400"_s, "sh", 'S', u"/bin/sh"_s, QByteArray("sh\0-c\0x\0", 8), young);

    tree.add(u"401"_s, "setup", 'S', u"/opt/setup"_s, QByteArray("setup\0", 6), old);
    int calls = 1;
    while (!runs(query, u"setup"_s) && calls <= int(ProcFsProcessQuery::kRefreshEvery))
        ++calls;
    EXPECT_LE(calls, int(ProcFsProcessQuery::kRefreshEvery));

    // A new command line under the same command name shows no sooner than
    // at a full read.
    tree.add(u"401"_s, "setup", 'S', u"/opt/setup"_s, QByteArray("setup: phase two\0", 17), old);
    const int rounds = int(ProcFsProcessQuery::kRefreshEvery * ProcFsProcessQuery::kFullRefreshRounds);
    calls = 1;
    while (!runs(query, u"setup: phase two"_s) && calls <= rounds)
        ++calls;
    EXPECT_LE(calls, rounds);
}

} // namespace
} // namespace zb
