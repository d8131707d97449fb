#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;
using test::pauseSlot;
using test::StatusLog;

// Slot n armed at 0 s: launched at 1 s, held to 2 s, first check at 3 s.
constexpr SimulatedClock::Ms kFirstCheckMs = 3000;

TEST(ProcessWatcher, WaitsWhileTheNameRunsThenHandsOverToTheSuccessor)
{
    const struct {
        int slot;
        int runningChecks; // how many checks find the name running
    } cases[] = {{5, 3}, {1, 1}, {20, 2}, {12, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        Harness h;
        MainWindowModel& m = h.start().main;
        pauseSlot(m, c.slot, QStringLiteral("editor"), QStringLiteral("notepad.exe"));
        h.processes.running[QStringLiteral("notepad.exe")] = c.runningChecks;
        StatusLog log(h);
        m.TASK_MAIN_TIMER[c.slot].setEnabled(true);
        h.clock.advance(kFirstCheckMs - 1);
        EXPECT_EQ(m.TASK_PAUSE_TICKBOX[c.slot].background(), colour::None);
        h.launcher.end(1000, 0); // the editor's launcher; the editor runs on

        const SimulatedClock::Ms handOverMs = kFirstCheckMs + c.runningChecks * 1000;
        h.clock.advance(handOverMs - h.clock.now() - 1);
        EXPECT_TRUE(m.TASK_WATCHER_TIMER[c.slot].enabled());
        if (c.runningChecks > 0) {
            EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("P4P - TASK %1").arg(c.slot));
            EXPECT_EQ(m.TASK_PAUSE_TICKBOX[c.slot].background(), colour::Green);
        }
        h.clock.advance(1);
        EXPECT_FALSE(m.TASK_WATCHER_TIMER[c.slot].enabled());
        EXPECT_EQ(m.TASK_LIGHT[c.slot].background(), colour::Green);
        EXPECT_EQ(m.TASK_PAUSE_TICKBOX[c.slot].background(), colour::Green);
        EXPECT_EQ(h.processes.queries.size(), c.runningChecks + 1);
        // The hand-over leaves the status line to the successor.
        EXPECT_EQ(log.texts().last(), c.runningChecks > 0 ? QStringLiteral("P4P - TASK %1").arg(c.slot)
                                                          : QStringLiteral("RUNNING TASK %1").arg(c.slot));
        if (c.slot < kSlotCount) {
            EXPECT_TRUE(m.TASK_MAIN_TIMER[c.slot + 1].enabled());
            h.seconds(1);
            EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("SKIPPING TASK %1").arg(c.slot + 1));
        } else {
            EXPECT_TRUE(m.AUTOCLOSE_TIMER.enabled());
        }
    }
}

// The slot's own task (pid 1000) ends at 10 s; the check after it, at 11 s,
// hands over when nothing else holds the chain.
TEST(ProcessWatcher, TheTaskTheSlotLaunchedHoldsTheWaitWhenItIsTheOneWatched)
{
    const struct {
        const char* what;
        QString name;
        bool launchedAnswers;  // the launched task answered to the name at its launch
        int nameRunningChecks; // how many checks find the name running
        SimulatedClock::Ms handOverMs;
        SimulatedClock::Ms stoppedMs = 0; // the program stopped (SIGSTOP) after the first check: no ticks
    } cases[] = {
        {"no name: the launched task", QString(), false, 0, 11000},
        {"renames itself at once", QStringLiteral("job"), true, 0, 11000},
        {"a launcher of the watched program", QStringLiteral("editor"), false, 2, 5000},
        {"the name outlives the task", QStringLiteral("job"), true, 12, 15000},
        {"the program stopped 20 s: seconds of the clock, not ticks", QString(), false, 0, 34000, 20000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        MainWindowModel& m = h.start().main;
        pauseSlot(m, 3, QStringLiteral("job --now"), c.name);
        if (c.launchedAnswers)
            h.processes.names[1000] = c.name;
        h.processes.running[c.name] = c.nameRunningChecks;
        m.TASK_MAIN_TIMER[3].setEnabled(true);
        h.clock.advance(c.stoppedMs > 0 ? kFirstCheckMs : 0);
        h.clock.busy(static_cast<int>(c.stoppedMs));
        if (c.handOverMs > 10000) {
            h.clock.advance(10000);
            h.launcher.end(1000, 0);
        }
        h.clock.advance(c.handOverMs - h.clock.now() - 1);
        EXPECT_TRUE(m.TASK_WATCHER_TIMER[3].enabled());
        EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("P4P - TASK 3"));
        h.clock.advance(1);
        EXPECT_FALSE(m.TASK_WATCHER_TIMER[3].enabled());
        EXPECT_TRUE(m.TASK_MAIN_TIMER[4].enabled());
        EXPECT_EQ(h.journal.events.last().seconds, (c.handOverMs - kFirstCheckMs) / 1000 + 1);
        if (c.name.isEmpty()) {
            EXPECT_TRUE(h.processes.queries.isEmpty()) << "no name, no process list";
        }
    }
}

TEST(ProcessWatcher, ANameRunningBeforeTheSlotHoldsTheChainUntilAllCopiesEnd)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    pauseSlot(m, 2, QStringLiteral("backup --full"), QStringLiteral("backup"));
    test::enableSlot(m, 3, QStringLiteral("report"));
    h.processes.running[QStringLiteral("backup")] = -1; // another copy ran already
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(60);
    EXPECT_EQ(h.launcher.commands(), QStringList{QStringLiteral("backup --full")});
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("P4P - TASK 2"));

    h.processes.running[QStringLiteral("backup")] = 0;
    h.seconds(1); // the check that finds it gone
    EXPECT_TRUE(m.TASK_MAIN_TIMER[3].enabled());
    h.seconds(2);
    EXPECT_EQ(h.launcher.commands().last(), QStringLiteral("report"));
}

TEST(ProcessWatcher, TheNameIsReadAfreshAtEveryCheck)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    pauseSlot(m, 1, QStringLiteral("job"), QStringLiteral("old-name"));
    h.processes.running[QStringLiteral("old-name")] = -1;
    m.TASK_MAIN_TIMER[1].setEnabled(true);
    h.clock.advance(kFirstCheckMs + 2000);
    m.TASK_PROCESS_NAME_TEXTBOX[1].setText(QStringLiteral("new-name"));
    h.seconds(1);
    EXPECT_EQ(h.processes.queries.last(), QStringLiteral("new-name"));
    EXPECT_TRUE(m.TASK_MAIN_TIMER[2].enabled());
}

TEST(ProcessWatcher, StopAlsoStopsAWaitingWatcherSoTheStoppedPassNeverResumes)
{
    Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    pauseSlot(m, 4, QStringLiteral("four"), QStringLiteral("four"));
    test::enableSlot(m, 5, QStringLiteral("five"));
    h.processes.running[QStringLiteral("four")] = -1;
    m.RUNTIME_TIMER.setEnabled(true);
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(10); // slot 4 launched at 4 s, waiting since 6 s
    ASSERT_TRUE(m.TASK_WATCHER_TIMER[4].enabled());
    const SimulatedClock::Ms stoppedAt = h.clock.now();
    StatusLog log(h);

    m.MAIN_START_STOP_BUTTON.click(); // STOP
    EXPECT_EQ(m.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("START"));
    EXPECT_FALSE(m.TASK_WATCHER_TIMER[4].enabled());
    EXPECT_FALSE(m.RUNTIME_TIMER.enabled()) << "the run-time clock stops with the pass";
    h.processes.running[QStringLiteral("four")] = 0;
    h.seconds(30);
    EXPECT_EQ(h.launcher.commands(), QStringList{QStringLiteral("four")}) << "slot 5 never armed";
    EXPECT_EQ(log.textsSince(stoppedAt), QStringList{QStringLiteral("P4P - TASK 4 - STOPPED")})
        << "says the wait was cut short, then keeps that text";
    EXPECT_EQ(m.TASK_LIGHT[4].background(), colour::Cyan);
    EXPECT_FALSE(m.AUTOCLOSE_TIMER.enabled());
}

TEST(ProcessWatcher, StopThenStartDuringAWaitRunsOnePassNotTwo)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    pauseSlot(m, 4, QStringLiteral("four"), QStringLiteral("four"));
    test::enableSlot(m, 5, QStringLiteral("five"));
    h.processes.running[QStringLiteral("four")] = -1;
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(10);
    m.MAIN_START_STOP_BUTTON.click(); // STOP
    m.MAIN_START_STOP_BUTTON.click(); // START: a new pass at slot 1
    h.seconds(2);
    h.processes.running[QStringLiteral("four")] = 0; // the old process ends
    h.seconds(60);
    EXPECT_EQ(h.launcher.commands(),
              (QStringList{QStringLiteral("four"), QStringLiteral("four"), QStringLiteral("five")}));
}

TEST(ProcessWatcher, AnUnreadableProcessListEndsTheWaitAndSaysSo)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    pauseSlot(m, 7, QStringLiteral("seven"), QStringLiteral("seven"));
    h.processes.running[QStringLiteral("seven")] = -1;
    h.processes.unreadable = true;
    m.TASK_MAIN_TIMER[7].setEnabled(true);
    h.clock.advance(kFirstCheckMs);
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("P4P - TASK 7 - PROCESS LIST UNREADABLE"));
    EXPECT_FALSE(m.TASK_WATCHER_TIMER[7].enabled());
    EXPECT_TRUE(m.TASK_MAIN_TIMER[8].enabled());
}

TEST(ProcessWatcher, BlanksAroundATypedNameAreNotPartOfIt)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    pauseSlot(m, 2, QStringLiteral("rsync -a a b"), QStringLiteral(" rsync\t "));
    h.processes.running[QStringLiteral("rsync")] = -1;
    m.TASK_MAIN_TIMER[2].setEnabled(true);
    h.clock.advance(kFirstCheckMs);
    EXPECT_EQ(h.processes.queries, QStringList{QStringLiteral("rsync")});
    EXPECT_TRUE(m.TASK_WATCHER_TIMER[2].enabled()) << "waits for rsync";
}

// Slot 2 waits on its own task, with a limit of 0.05 minutes: the third
// check, at 6 s, finds the wait three seconds long.
TEST(ProcessWatcher, AWaitThatOutlastsItsLimitEndsAndTheTaskIsStoppedOnlyWhenItsSlotSaysSo)
{
    const struct {
        const char* what;
        bool stop;
        bool heedsTerm; // the group is gone once SIGTERM went
        QList<int> signals;
        bool closes = false; // the program closes at 7 s, within the grace before SIGKILL
    } cases[] = {
        {"left running", false, false, {}},
        {"stopped, heeds SIGTERM", true, true, {15}},
        {"stopped, ignores SIGTERM", true, false, {15, 9}},
        {"stopped, ignores SIGTERM, the program closes", true, false, {15, 9}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        MainWindowModel& m = h.start().main;
        pauseSlot(m, 2, QStringLiteral("backup"), QString());
        test::enableSlot(m, 3, QStringLiteral("ship"));
        m.settings().writeText(keys::taskTimeLimit(2), QStringLiteral("0.05"));
        m.settings().writeTick(keys::taskTimeLimitStop(2), c.stop ? 1 : 0);
        m.MAIN_START_STOP_BUTTON.click();
        h.clock.advance(6000);
        EXPECT_FALSE(m.TASK_WATCHER_TIMER[2].enabled());
        EXPECT_EQ(m.TASK_LIGHT[2].background(), colour::Red);
        EXPECT_EQ(m.TASK_LIGHT[2].toolTip(), QStringLiteral("timed out after 0:00:03"));
        EXPECT_TRUE(
            h.journal.events.contains(JournalEvent{.kind = JournalEvent::Kind::TaskTimedOut, .slot = 2, .seconds = 3}));
        if (c.heedsTerm)
            h.launcher.gone.insert(1000);
        h.seconds(1);
        EXPECT_EQ(h.launcher.commands().last(), QStringLiteral("ship")) << "the chain went on";
        const auto signalled = [&h] {
            QList<int> out;
            for (const JournalEvent& e : h.journal.events)
                if (e.kind == JournalEvent::Kind::TaskSignalled && e.pid == 1000)
                    out << e.signal;
            return out;
        };
        if (c.closes) {
            m.close();
            EXPECT_EQ(signalled(), c.signals);
            continue;
        }
        h.seconds(TaskStopper::kKillDelayMs / 1000);
        EXPECT_EQ(signalled(), c.signals);
        h.launcher.end(1000, 0, 15);
        EXPECT_EQ(m.TASK_LIGHT[2].toolTip(), QStringLiteral("timed out after 0:00:03, then killed by signal 15"));
        h.seconds(20); // the chain's end
        EXPECT_EQ(h.program->engine.recorder().chainResult(),
                  QStringLiteral("COMPLETED WITH ERRORS - TASK 2 TIMED OUT"));
    }
}

} // namespace
} // namespace zb
