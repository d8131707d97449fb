#include "EngineTestSupport.h"

#include <QTimeZone>
#include <gtest/gtest.h>

namespace zb {
namespace {

using test::enableSlot;
using test::Harness;
using test::pauseSlot;
using K = JournalEvent::Kind;

const QString kStartBatch = QStringLiteral("/opt/zb/BATS/zb-sequenta-START-EMAIL.sh");
const QString kEndBatch = QStringLiteral("/opt/zb/BATS/zb-sequenta-END-EMAIL.sh");

JournalEvent ev(K kind, int slot = 0)
{
    JournalEvent e;
    e.kind = kind;
    e.slot = slot;
    return e;
}

TEST(RunJournal, APassByHandReportsEachSlotWaitAndTheEndInOrder)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    enableSlot(m, 2, QStringLiteral("/bin/backup --all"));
    m.TASK_ENABLE_TICKBOX[2].setCaption(QStringLiteral("Backup"));
    enableSlot(m, 3, QStringLiteral("missing"));
    pauseSlot(m, 4, QStringLiteral("rsync -a"), QStringLiteral("rsync"));
    h.launcher.failing.insert(QStringLiteral("missing"));
    h.processes.running.insert(QStringLiteral("rsync"), 3); // found by three checks
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(40);

    JournalEvent started = ev(K::TaskStarted, 2);
    started.pid = 1000;
    started.command = QStringLiteral("/bin/backup --all");
    started.file = QStringLiteral("/state/output/task-2.log");
    started.name = QStringLiteral("Backup");
    JournalEvent failed = ev(K::TaskFailed, 3);
    failed.command = QStringLiteral("missing");
    failed.reason = QStringLiteral("scripted failure");
    JournalEvent wait = ev(K::WaitBegan, 4);
    wait.name = QStringLiteral("rsync");
    JournalEvent waited = ev(K::WaitEnded, 4);
    waited.seconds = 4; // three checks found it, the fourth a second later did not
    const QList<JournalEvent> expected = {
        ev(K::PassStarted), ev(K::TaskSkipped, 1), started, failed, ev(K::TaskStarted, 4), wait, waited};
    ASSERT_GE(h.journal.events.size(), 7);
    for (int i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const JournalEvent& got = h.journal.events[i];
        EXPECT_EQ(got.kind, expected[i].kind);
        EXPECT_EQ(got.slot, expected[i].slot);
        if (i != 4) {
            EXPECT_EQ(got, expected[i]);
        }
    }
    EXPECT_EQ(h.journal.events[4].pid, 1001);
    EXPECT_EQ(h.journal.events.last().kind, K::ChainEnded);
    EXPECT_EQ(h.journal.events.size(), 7 + 16 + 1) << "slots 5 to 20 skipped, then the end";
    // The task's output goes where the journal says.
    EXPECT_EQ(h.launcher.calls[0].outputFile, QStringLiteral("/state/output/task-2.log"));
    // The status line is unchanged by the journal; slot 3 failed to start.
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("ENDED WITH ERRORS - SEE LAST RUN"));
}

TEST(RunJournal, StopDuringAWaitEndsThePassAndTheWaitAndANewPassStartsAfresh)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    pauseSlot(m, 1, QStringLiteral("job"), QStringLiteral("job"));
    h.processes.running.insert(QStringLiteral("job"), -1);
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(5);
    m.MAIN_START_STOP_BUTTON.click(); // STOP
    m.MAIN_START_STOP_BUTTON.click(); // START again
    h.seconds(3);
    JournalEvent stopped = ev(K::WaitStopped, 1);
    stopped.seconds = 3;
    const QList<K> kinds = h.journal.kinds().mid(0, 7);
    EXPECT_EQ(kinds, (QList<K>{K::PassStarted, K::TaskStarted, K::WaitBegan, K::PassStopped, K::WaitStopped,
                               K::PassStarted, K::TaskStarted}));
    EXPECT_EQ(h.journal.events[4], stopped);
    // Each line names its pass, the second begun within the same second too;
    // the first pass's task ending now is still the first pass's.
    h.launcher.end(1000, 0, 0);
    const QStringList passes = h.journal.passes;
    EXPECT_FALSE(passes[0].isEmpty());
    EXPECT_EQ(passes.mid(0, 5), QStringList(5, passes[0]));
    EXPECT_NE(passes[5], passes[0]);
    EXPECT_EQ(passes[6], passes[5]);
    EXPECT_EQ(h.journal.kinds().last(), K::TaskExited);
    EXPECT_EQ(passes.last(), passes[0]);
}

TEST(RunJournal, TheAutostartAndAutocloseFrameTheUnattendedPass)
{
    Harness h;
    for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "START_EMAIL_TICKBOX", "END_EMAIL_TICKBOX"})
        h.seed(QLatin1String(key), QStringLiteral("1"));
    h.seed(QStringLiteral("TASK_1_ENABLE_TICKBOX"), QStringLiteral("1"));
    h.seed(QStringLiteral("TASK_1_CMD"), QStringLiteral("job"));
    h.files.present.insert(kStartBatch);
    h.start();
    h.seconds(120);

    const QList<K> kinds = h.journal.kinds();
    ASSERT_GE(kinds.size(), 5);
    EXPECT_EQ(kinds.mid(0, 3), (QList<K>{K::PassStarted, K::EmailStarted, K::TaskStarted}));
    EXPECT_EQ(h.journal.events[0].start, PassStart::Autostart);
    EXPECT_EQ(h.journal.events[1].file, kStartBatch);
    // The end e-mail is told of the task that still runs as the program closes.
    EXPECT_EQ(kinds.mid(kinds.size() - 4),
              (QList<K>{K::ChainEnded, K::TaskStillRunning, K::EmailMissing, K::Autoclosed}));
    EXPECT_EQ(h.journal.events.last().reason, QStringLiteral("COMPLETED WITH ERRORS - END EMAIL NOT SENT"));
    EXPECT_EQ(h.journal.events[kinds.size() - 3].pid, 1001) << "the start e-mail script was 1000";
}

// How tasks end decides the stored last-run text; a task still running, or
// one of an earlier pass, does not count against the pass.
TEST(RunJournal, ATaskThatEndedBadlyMakesThePassCompleteWithErrors)
{
    const struct {
        const char* what;
        int exitCode;
        int signal;
        bool earlierPass;
        QString lastRun;
    } cases[] = {
        {"exit 0", 0, 0, false, QStringLiteral("COMPLETED SUCCESSFULLY")},
        {"exit 3", 3, 0, false, QStringLiteral("COMPLETED WITH ERRORS - TASK 1 EXITED WITH 3")},
        {"killed", 0, 9, false, QStringLiteral("COMPLETED WITH ERRORS - TASK 1 EXITED WITH SIGNAL 9")},
        {"still running", -1, 0, false, QStringLiteral("COMPLETED SUCCESSFULLY")},
        {"exit 3 of an earlier pass", 3, 0, true, QStringLiteral("COMPLETED SUCCESSFULLY")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
        MainWindowModel& m = h.start().main;
        enableSlot(m, 1, QStringLiteral("job"));
        m.MAIN_START_STOP_BUTTON.click();
        h.seconds(3);
        if (c.earlierPass) {
            m.MAIN_START_STOP_BUTTON.click();
            m.MAIN_START_STOP_BUTTON.click();
            h.seconds(3);
        }
        if (c.exitCode >= 0)
            h.launcher.end(1000, c.exitCode, c.signal, 2500);
        h.seconds(60);
        ASSERT_TRUE(m.unloaded());
        EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), c.lastRun);
        if (c.exitCode >= 0) {
            JournalEvent ended = ev(K::TaskExited, 1);
            ended.pid = 1000;
            ended.exitCode = c.exitCode;
            ended.signal = c.signal;
            ended.runMs = 2500;
            EXPECT_TRUE(h.journal.events.contains(ended));
        }
        const int stillRunning = static_cast<int>(h.journal.kinds().count(K::TaskStillRunning));
        EXPECT_EQ(stillRunning, (c.exitCode >= 0 ? 0 : 1) + (c.earlierPass ? 1 : 0));
    }
}

TEST(RunJournal, AJournalThatCannotBeWrittenIsSaidOnceAndTheRunGoesOn)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    h.journal.failing = QStringLiteral("Read-only file system");
    enableSlot(m, 1, QStringLiteral("job"));
    test::StatusLog log(h);
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(30);
    EXPECT_EQ(log.texts().count(QStringLiteral("RUN JOURNAL NOT WRITTEN - Read-only file system")), 1);
    EXPECT_EQ(log.texts().first(), QStringLiteral("RUN JOURNAL NOT WRITTEN - Read-only file system"));
    EXPECT_EQ(h.launcher.calls.size(), 1);
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("COMPLETED - READY...")) << "the chain reached its end";
    // The History button warns, with the reason, until the journal works again.
    EXPECT_EQ(m.HISTORY_BUTTON.caption(), QStringLiteral("History (!)"));
    EXPECT_EQ(m.HISTORY_BUTTON.toolTip(), QStringLiteral("RUN JOURNAL NOT WRITTEN - Read-only file system"));
    h.journal.failing.clear();
    m.MAIN_START_STOP_BUTTON.click(); // STOP after the end: nothing to write
    m.MAIN_START_STOP_BUTTON.click(); // a new pass
    h.seconds(3);
    EXPECT_EQ(m.HISTORY_BUTTON.caption(), QStringLiteral("History"));
    EXPECT_EQ(m.HISTORY_BUTTON.toolTip(), text::kHistoryToolTip);
}

TEST(RunJournal, TheAutocloseStoresWhenTheRunEndedAndTheFieldShowsIt)
{
    Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    Program& p = h.start();
    EXPECT_EQ(p.main.LAST_RUN_TEXTBOX.toolTip(), QString()) << "never run";
    p.engine.recorder().wallClock = [] {
        return QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7), Qt::OffsetFromUTC, 3600);
    };
    p.main.MAIN_START_STOP_BUTTON.click();
    h.seconds(60);
    ASSERT_TRUE(p.main.unloaded());
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN_TIME")), QStringLiteral("2026-03-04T05:06:07+01:00"));
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("COMPLETED SUCCESSFULLY"));

    Harness next;
    next.seed(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
    next.seed(QStringLiteral("LAST_RUN_TIME"), QStringLiteral("2026-03-04T05:06:07+01:00"));
    EXPECT_TRUE(next.start().main.LAST_RUN_TEXTBOX.toolTip().contains(QStringLiteral("2026-03-04 05:06:07")));
    Harness damaged;
    damaged.seed(QStringLiteral("LAST_RUN_TIME"), QStringLiteral("yesterday"));
    EXPECT_EQ(damaged.start().main.LAST_RUN_TEXTBOX.toolTip(), QString());
}

} // namespace
} // namespace zb
