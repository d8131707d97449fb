#include "engine/FileRunJournal.h"
#include "engine/JournalText.h"
#include "engine/PassAccount.h"
#include "platform/linux/LinuxJournalFile.h"
#include "platform/linux/PosixLauncher.h"
#include "tests/engine/EngineTestSupport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace zb {
namespace {

using K = JournalEvent::Kind;

struct Limits {
    qint64 journalBytes = LinuxJournalFile::kDefaultBytes;
    int outputPasses = FileRunJournal::kDefaultOutputPasses;
};

// The journal as the program keeps it: the engine's journal in the Linux file.
class SystemJournal : public FileRunJournal {
public:
    SystemJournal(const QString& stateFolder, const QString& name, Limits limits = {})
        : FileRunJournal(std::make_unique<LinuxJournalFile>(stateFolder, name, limits.journalBytes),
                         limits.outputPasses)
    {}
};

QList<JournalEvent> eventsIn(const RunJournal& journal)
{
    QList<JournalEvent> out;
    for (const QString& line : journal.readLines()) {
        const auto entry = parseJournalLine(line);
        EXPECT_TRUE(entry.has_value()) << line.toStdString();
        if (entry)
            out << entry->event;
    }
    return out;
}

const JournalEvent* find(const QList<JournalEvent>& events, K kind, int slot)
{
    for (const JournalEvent& e : events)
        if (e.kind == kind && e.slot == slot)
            return &e;
    return nullptr;
}

// Those of `pids` that are children of this process left unreaped.
QList<qint64> zombies(const QList<qint64>& pids)
{
    QList<qint64> out;
    const QString self = QString::number(getpid());
    for (qint64 pid : pids) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(stat.readAll());
        // "pid (comm) state ppid ...": the name may hold blanks and brackets.
        const QStringList after = text.mid(text.lastIndexOf(QLatin1Char(')')) + 2).split(QLatin1Char(' '));
        if (after.size() > 1 && after[1] == self && after[0] == QLatin1String("Z"))
            out << pid;
    }
    return out;
}

QString readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<unreadable>");
}

// Real tasks through the real launcher and journal file, on the simulated
// clock: one exits 3, one is killed, one outlives the program.
TEST(RunJournalFile, RealTasksEndingEachWayGetTheirLineAndOutputAndLeaveNoZombie)
{
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir state;
    SystemJournal journal(state.path(), QStringLiteral("nightly"));
    PosixLauncher launcher;
    test::Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    Program p(Services{h.clock, h.store, h.exe, launcher, h.processes, h.folders, h.fileDialog, h.files, h.shell});
    p.engine.setJournal(&journal);
    p.main.closeRequested = [&] {
        p.main.Form_Unload();
        h.clock.halt();
    };
    p.start();
    test::enableSlot(p.main, 1, QStringLiteral("/bin/sh -c \"echo out-one; echo err-one >&2; exit 3\""));
    test::enableSlot(p.main, 2, QStringLiteral("/bin/sh -c \"kill -KILL $$\""));
    test::enableSlot(p.main, 3, QStringLiteral("/bin/sleep 30"));
    p.main.MAIN_START_STOP_BUTTON.click();
    h.seconds(8);
    ASSERT_GE(launcher.children(), 1);

    // The ends arrive through the event loop, with nothing polling.
    QDeadlineTimer deadline(10000);
    while (launcher.children() > 1 && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
    ASSERT_EQ(launcher.children(), 1);
    h.seconds(60); // the autoclose
    ASSERT_TRUE(p.main.unloaded());

    const QList<JournalEvent> events = eventsIn(journal);
    const JournalEvent* one = find(events, K::TaskExited, 1);
    const JournalEvent* two = find(events, K::TaskExited, 2);
    const JournalEvent* three = find(events, K::TaskStillRunning, 3);
    const JournalEvent* started = find(events, K::TaskStarted, 1);
    ASSERT_TRUE(one && two && three && started);
    EXPECT_EQ(one->exitCode, 3);
    EXPECT_EQ(one->signal, 0);
    EXPECT_EQ(two->signal, SIGKILL);
    EXPECT_GE(one->runMs, 0);
    EXPECT_EQ(readFile(started->file), QStringLiteral("out-one\nerr-one\n"));
    EXPECT_TRUE(started->file.startsWith(state.path() + QStringLiteral("/output/nightly/")));
    EXPECT_TRUE(started->file.endsWith(QStringLiteral("-task-1.log")));
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("COMPLETED WITH ERRORS - TASK 1 EXITED WITH 3"));
    EXPECT_EQ(::kill(static_cast<pid_t>(three->pid), 0), 0) << "the still-running task goes on";
    QList<qint64> launched;
    for (const JournalEvent& e : events)
        if (e.kind == K::TaskStarted)
            launched << e.pid;
    EXPECT_EQ(launched.size(), 3);
    EXPECT_EQ(zombies(launched), QList<qint64>());

    ::kill(static_cast<pid_t>(three->pid), SIGKILL);
    int status = 0;
    waitpid(static_cast<pid_t>(three->pid), &status, 0);
}

TEST(RunJournalFile, KeepsTheLastMegabyteWithOneOlderFileAndTheNewestPassesOutput)
{
    QTemporaryDir state;
    SystemJournal journal(state.path(), QStringLiteral("zb"), {.journalBytes = 2000, .outputPasses = 3});
    QDateTime at(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    journal.now = [&] { return at; };
    const QString out = state.path() + QStringLiteral("/output/zb/");
    QDir().mkpath(out);
    for (const char* stamp : {"20251231-000001", "20251231-000002", "20251231-000003", "20251231-000004"})
        for (int n : {1, 7})
            QFile(out + QLatin1String(stamp) + QStringLiteral("-task-%1.log").arg(n)).open(QIODevice::WriteOnly);
    QFile(out + QStringLiteral("notes.txt")).open(QIODevice::WriteOnly);

    journal.record({.kind = K::PassStarted});
    EXPECT_EQ(journal.taskOutputFile(4), out + QStringLiteral("20260101-000000-task-4.log"));
    QStringList left = QDir(out).entryList(QDir::Files);
    EXPECT_EQ(left,
              (QStringList{QStringLiteral("20251231-000003-task-1.log"), QStringLiteral("20251231-000003-task-7.log"),
                           QStringLiteral("20251231-000004-task-1.log"), QStringLiteral("20251231-000004-task-7.log"),
                           QStringLiteral("notes.txt")}))
        << "two older passes and the new one make three";

    for (int i = 1; i <= 300; ++i) {
        at = at.addSecs(1);
        journal.record({.kind = K::WaitEnded, .slot = 1, .seconds = i});
    }
    const QString path = journal.journalFile();
    EXPECT_LT(QFile(path).size(), 2000);
    EXPECT_GE(QFile(path + QStringLiteral(".1")).size(), 2000);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".2")));
    const QList<JournalEvent> events = eventsIn(journal);
    ASSERT_FALSE(events.isEmpty());
    EXPECT_LT(events.size(), 200) << "the oldest lines are gone";
    EXPECT_EQ(events.last().seconds, 300);
    for (int i = 1; i < events.size(); ++i)
        EXPECT_EQ(events[i].seconds, events[i - 1].seconds + 1) << "nothing lost between the two files";
}

// A journal the program did not write, far past its limit, is cut to the
// limit when it is moved aside: its newest whole lines, up to the new one.
TEST(RunJournalFile, ALargerJournalMovedAsideIsCutToTheLimitAtALineStart)
{
    QTemporaryDir state;
    SystemJournal journal(state.path(), QStringLiteral("zb"), {.journalBytes = 2000});
    const QString path = journal.journalFile();
    QFile planted(path);
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    for (int i = 0; i < 500; ++i)
        planted.write(QStringLiteral("planted line %1 of an older version\n").arg(i, 4, 10, QLatin1Char('0')).toUtf8());
    planted.close();
    journal.record({.kind = K::TaskSkipped, .slot = 4});

    const QByteArray kept = readFile(path + QStringLiteral(".1")).toUtf8();
    EXPECT_TRUE(kept.size() > 1000 && kept.size() <= 2000) << kept.size();
    EXPECT_TRUE(kept.startsWith("planted line ")) << kept.left(40).toStdString();
    const QList<QByteArray> lines = kept.trimmed().split('\n');
    EXPECT_TRUE(lines[lines.size() - 2].startsWith("planted line 0499"));
    EXPECT_EQ(parseJournalLine(QString::fromUtf8(lines.last()))->event.slot, 4);
}

// Read from the end: the newest pass alone, also when it began in the older
// file, lies behind many pieces of the file, holds a line longer than a
// piece, or a broken start line follows it.
TEST(RunJournalFile, TheNewestPassIsReadFromTheEnd)
{
    QTemporaryDir state;
    SystemJournal journal(state.path(), QStringLiteral("zb"), {.journalBytes = 300'000, .outputPasses = 3});
    QDateTime at(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC);
    journal.now = [&] { return at; };
    // A command that reads like the event, so that only whole lines count.
    const QString decoy = QStringLiteral("x pass-started by=hand");
    for (int pass = 0; pass < 6; ++pass) {
        journal.record({.kind = K::PassStarted, .start = PassStart::Autostart});
        for (int i = 1; i <= 2500; ++i) {
            at = at.addSecs(1);
            // One line longer than a piece read from the end.
            const QString command = pass == 5 && i == 1250 ? QString(70'000, QLatin1Char('y')) : decoy;
            journal.record(
                {.kind = K::TaskFailed, .slot = 1 + i % kSlotCount, .command = command, .reason = QString::number(i)});
        }
    }
    ASSERT_TRUE(QFile::exists(journal.journalFile() + QStringLiteral(".1")));
    QFile file(journal.journalFile());
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("2026-01-09T00:00:00Z pass-started by=\"hand\n");
    file.close();

    QStringList back;
    journal.readBackward([&back](const QStringList& batch) {
        back = batch + back;
        return back.size() < 2502;
    });
    const QStringList all = journal.readLines();
    ASSERT_GE(back.size(), 2502);
    EXPECT_EQ(all.mid(all.size() - back.size()), back) << "the same lines as the whole journal's end";
    const QList<HistoryPass> newest = newestPasses(journal);
    ASSERT_EQ(newest.size(), 1) << "read back to the newest pass's start, past the broken one";
    EXPECT_EQ(newest[0].slots[0].outcome, QStringLiteral("failed to start: 2500"));

    QTemporaryDir empty;
    EXPECT_TRUE(newestPasses(SystemJournal(empty.path(), QStringLiteral("zb"))).isEmpty());
    // A system without a journal file keeps no output either: tasks write to nowhere.
    FileRunJournal none(std::make_unique<NullJournalFile>());
    none.record({.kind = K::PassStarted});
    EXPECT_TRUE(none.taskOutputFile(1).isEmpty());
    EXPECT_TRUE(newestPasses(none).isEmpty());
}

TEST(RunJournalFile, TwoCopiesUnderOneNameNeverMixWithinALine)
{
    QTemporaryDir state;
    const QString longCommand = QString(3000, QLatin1Char('x'));
    auto writer = [&](int slot) {
        SystemJournal journal(state.path(), QStringLiteral("same"));
        for (int i = 0; i < 300; ++i)
            journal.record({.kind = K::TaskStarted, .slot = slot, .pid = i, .command = longCommand});
    };
    std::thread a(writer, 1);
    std::thread b(writer, 2);
    a.join();
    b.join();
    SystemJournal reader(state.path(), QStringLiteral("same"));
    const QList<JournalEvent> events = eventsIn(reader);
    EXPECT_EQ(events.size(), 600);
    for (const JournalEvent& e : events)
        EXPECT_EQ(e.command, longCommand);
}

TEST(RunJournalFile, AFolderThatCannotBeWrittenIsSaidOnceAndTheRunGoesOn)
{
    QTemporaryDir dir;
    const QString blocker = dir.path() + QStringLiteral("/a-file");
    QFile(blocker).open(QIODevice::WriteOnly);
    SystemJournal journal(blocker + QStringLiteral("/state"), QStringLiteral("zb"));
    test::Harness h;
    MainWindowModel& m = h.start().main;
    h.program->engine.setJournal(&journal);
    test::enableSlot(m, 1, QStringLiteral("job"));
    test::StatusLog log(h);
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(30);
    const QStringList said = log.texts().filter(QStringLiteral("RUN JOURNAL NOT WRITTEN"));
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].contains(blocker)) << said[0].toStdString();
    EXPECT_EQ(h.launcher.calls.size(), 1);
    EXPECT_EQ(m.LAST_RUN_TEXTBOX.text(), QStringLiteral("COMPLETED SUCCESSFULLY")) << "the pass ran to its end";
    EXPECT_TRUE(journal.readLines().isEmpty());
}

// The faults of a night: the state folder deleted during a pass, a line
// cut short by a full disk, one left by an earlier crash.
TEST(RunJournalFile, EveryLineIsWholeAndLandsInTheFileAtThePathWhateverHappenedToTheLast)
{
    QTemporaryDir root;
    const QString state = root.filePath(QStringLiteral("state"));
    {
        SystemJournal journal(state, QStringLiteral("zb"));
        journal.record({.kind = K::PassStarted});
        ASSERT_TRUE(QDir(state).removeRecursively());
        journal.record({.kind = K::TaskSkipped, .slot = 1});
        EXPECT_EQ(eventsIn(journal).size(), 1) << "a new file where the deleted one was";
        ASSERT_TRUE(QDir().rename(state, root.filePath(QStringLiteral("moved"))));
        journal.record({.kind = K::TaskSkipped, .slot = 2});
        ASSERT_EQ(eventsIn(journal).size(), 1);
        EXPECT_EQ(eventsIn(journal)[0].slot, 2);
    }
    const QString path = state + QStringLiteral("/zb-runs.log");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write("2026-1"); // what a full disk left last night
    }
    SystemJournal journal(state, QStringLiteral("zb"));
    journal.record({.kind = K::PassStarted});
    EXPECT_TRUE(readFile(path).contains(QStringLiteral("\n2026-1\n"))) << readFile(path).toStdString();
    ASSERT_EQ(journal.readLines().size(), 3);
    const auto started = parseJournalLine(journal.readLines().last());
    ASSERT_TRUE(started.has_value());
    EXPECT_EQ(started->event.kind, K::PassStarted);

    // A disk that fills in the middle of a line: the part written is taken
    // back, so the file ends with a whole line.
    const qint64 before = QFile(path).size();
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(before + 40), static_cast<rlim_t>(before + 40)};
        setrlimit(RLIMIT_FSIZE, &limit);
        SystemJournal full(state, QStringLiteral("zb"));
        full.record({.kind = K::TaskStarted, .slot = 3, .pid = 9, .command = QString(200, QLatin1Char('x'))});
        _exit(full.failure().isEmpty() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the failure is known";
    EXPECT_EQ(QFile(path).size(), before) << readFile(path).toStdString();
    journal.record({.kind = K::TaskSkipped, .slot = 4});
    const auto after = parseJournalLine(journal.readLines().last());
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->event.slot, 4);
}

// The clock set back a year: output stamped before the beginning pass goes
// oldest first, and what is stamped after it is kept, as it may be the pass
// just before; neither the pass that begins nor the one before it ever goes.
TEST(RunJournalFile, OutputIsPrunedByItsStampsAndKeptWhenStampedAfterTheClock)
{
    QTemporaryDir state;
    SystemJournal journal(state.path(), QStringLiteral("zb"), {.journalBytes = 1 << 20, .outputPasses = 3});
    QDateTime at(QDate(2026, 6, 1), QTime(0, 0), Qt::UTC);
    journal.now = [&] { return at; };
    const QString out = state.path() + QStringLiteral("/output/zb/");
    QDir().mkpath(out);
    const QString future = QStringLiteral("20300101-000000-task-1.log");
    QFile(out + future).open(QIODevice::WriteOnly);
    QStringList made;
    const auto pass = [&](const QDateTime& when) {
        at = when;
        journal.record({.kind = K::PassStarted});
        const QString file = journal.taskOutputFile(1);
        QFile(file).open(QIODevice::WriteOnly);
        journal.record({.kind = K::TaskStarted, .slot = 1, .pid = 1, .command = QStringLiteral("x"), .file = file});
        made << QFileInfo(file).fileName();
    };
    pass(at);                                                 // 20260601
    pass(QDateTime(QDate(2025, 6, 1), QTime(0, 0), Qt::UTC)); // the clock went back
    pass(QDateTime(QDate(2025, 6, 2), QTime(0, 0), Qt::UTC));
    pass(QDateTime(QDate(2025, 6, 3), QTime(0, 0), Qt::UTC));
    pass(QDateTime(QDate(2025, 6, 4), QTime(0, 0), Qt::UTC));
    EXPECT_EQ(QDir(out).entryList(QDir::Files), (QStringList{made[2], made[3], made[4], made[0], future}));

    SystemJournal one(state.path(), QStringLiteral("zb"), {.journalBytes = 1 << 20, .outputPasses = 1});
    one.now = [] { return QDateTime(QDate(2025, 6, 5), QTime(0, 0), Qt::UTC); };
    one.record({.kind = K::PassStarted});
    EXPECT_EQ(QDir(out).entryList(QDir::Files), (QStringList{made[4], made[0], future})) << "the pass before is kept";

    one.now = [] { return QDateTime(QDate(2031, 1, 1), QTime(0, 0), Qt::UTC); };
    one.record({.kind = K::PassStarted});
    EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList{future}) << "the clock is past them all again";
}

// A task whose output file cannot be made still runs; its output goes
// nowhere, never to the program's own output, and the result says why.
TEST(RunJournalFile, ATaskWhoseOutputCannotBeKeptDoesNotWriteToTheProgramsOutput)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("a-file"));
    QFile(blocker).open(QIODevice::WriteOnly);
    const QString captured = dir.filePath(QStringLiteral("stdout"));
    const int saved = dup(STDOUT_FILENO);
    const int capture = ::open(QFile::encodeName(captured).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(capture, 0);
    fflush(stdout);
    dup2(capture, STDOUT_FILENO);
    PosixLauncher launcher;
    const LaunchResult r =
        launcher.launchLogged(QStringLiteral("/bin/echo leaked"), blocker + QStringLiteral("/x.log"));
    int status = 0;
    if (r.started)
        waitpid(static_cast<pid_t>(r.pid), &status, 0);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    close(capture);
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.outputError.isEmpty());
    EXPECT_EQ(readFile(captured), QString());
}

} // namespace
} // namespace zb
