#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::enableSlot;
using test::Harness;
using test::StatusLog;

TEST(TaskChain, AllSlotsDisabledSkipsOnePerSecondThenArmsTheEndOfRun)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    StatusLog log(h);
    m.MAIN_START_STOP_BUTTON.click();
    EXPECT_EQ(m.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("STOP"));

    h.seconds(19);
    EXPECT_FALSE(m.AUTOCLOSE_TIMER.enabled());
    h.seconds(1);
    EXPECT_TRUE(m.AUTOCLOSE_TIMER.enabled()) << "reached 20 s after START";

    ASSERT_EQ(log.entries.size(), 20U);
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ(log.entries[n - 1].first, n * 1000);
        EXPECT_EQ(log.entries[n - 1].second, QStringLiteral("SKIPPING TASK %1").arg(n));
        EXPECT_EQ(m.TASK_LIGHT[n].background(), colour::Red);
        EXPECT_FALSE(m.TASK_MAIN_TIMER[n].enabled());
    }
    EXPECT_TRUE(h.launcher.calls.isEmpty());
}

TEST(TaskChain, LaunchedSlotsTakeTwoSecondsEachAndShowRunningThenCompleted)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    enableSlot(m, 1, QStringLiteral("first"));
    enableSlot(m, 14, QStringLiteral("fourteenth"));
    enableSlot(m, 20, QStringLiteral("last"));
    QStringList seenAtLaunch;
    h.launcher.onLaunch = [&](const QString& cmd) {
        const int n = cmd == QStringLiteral("first") ? 1 : cmd == QStringLiteral("fourteenth") ? 14 : 20;
        seenAtLaunch << m.CURRENT_STATUS_LABEL.caption();
        EXPECT_EQ(m.TASK_LIGHT[n].background(), colour::Cyan);
    };
    StatusLog log(h);
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(22);
    EXPECT_EQ(m.TASK_LIGHT[14].background(), colour::Green);
    EXPECT_EQ(m.TASK_LIGHT[13].background(), colour::Red);
    h.seconds(1); // slot 20 hands over at 23 s; the end-of-run step ticks at 24 s

    ASSERT_EQ(h.launcher.calls.size(), 3);
    EXPECT_EQ(h.launcher.calls[0].atMs, 1000);
    // 1 + 2 s for slot 1, 12 skips, so slot 14 ticks at 3 + 12 = 15 s.
    EXPECT_EQ(h.launcher.calls[1].atMs, 15000);
    EXPECT_EQ(h.launcher.calls[2].atMs, 15000 + 2000 + 5000);
    EXPECT_EQ(h.launcher.calls[0].style, WindowStyle::NormalFocus);
    EXPECT_EQ(seenAtLaunch, (QStringList{QStringLiteral("RUNNING TASK 1"), QStringLiteral("RUNNING TASK 14"),
                                         QStringLiteral("RUNNING TASK 20")}));
    // The fake tasks never end: the status says they run on.
    EXPECT_TRUE(log.texts().contains(QStringLiteral("TASK 14 STARTED - STILL RUNNING")));
    EXPECT_EQ(log.texts().last(), QStringLiteral("TASK 20 STARTED - STILL RUNNING"));
    EXPECT_EQ(m.TASK_LIGHT[14].background(), colour::Cyan) << "its task still runs as the chain ends";
    EXPECT_TRUE(m.AUTOCLOSE_TIMER.enabled());
}

TEST(TaskChain, PauseSlotHandsOverToItsWatcherWithSlotOneGreen)
{
    for (int slot : {1, 2}) {
        Harness h;
        MainWindowModel& m = h.start().main;
        enableSlot(m, slot, QStringLiteral("job"));
        m.TASK_PAUSE_TICKBOX[slot].setValue(1);
        m.TASK_MAIN_TIMER[slot].setEnabled(true);
        h.seconds(2); // launched at 1 s, held to 2 s

        EXPECT_TRUE(m.TASK_WATCHER_TIMER[slot].enabled());
        EXPECT_FALSE(m.TASK_MAIN_TIMER[slot].enabled());
        EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("RUNNING TASK %1").arg(slot));
        EXPECT_EQ(m.TASK_LIGHT[slot].background(), slot == 1 ? colour::Green : colour::Cyan);
        EXPECT_FALSE(m.TASK_MAIN_TIMER[slot + 1].enabled()) << "the chain holds";
    }
}

TEST(TaskChain, EditsDuringARunAffectOnlySlotsNotYetReached)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    enableSlot(m, 2, QStringLiteral("old two"));
    enableSlot(m, 5, QStringLiteral("old five"));
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(4); // slot 2 launched at 2 s; slot 3 ticked at 4 s
    m.TASK_CMD_TEXTBOX[2].setText(QStringLiteral("new two"));
    m.TASK_ENABLE_TICKBOX[3].setValue(1); // passed already: not run
    m.TASK_CMD_TEXTBOX[5].setText(QStringLiteral("new five"));
    m.TASK_ENABLE_TICKBOX[6].setValue(1);
    m.TASK_CMD_TEXTBOX[6].setText(QStringLiteral("six"));
    m.TASK_ENABLE_TICKBOX[7].setValue(0);
    h.seconds(30);
    EXPECT_EQ(h.launcher.commands(),
              (QStringList{QStringLiteral("old two"), QStringLiteral("new five"), QStringLiteral("six")}));
    EXPECT_EQ(m.TASK_LIGHT[3].background(), colour::Red);
}

TEST(TaskChain, CaptionStillReadsStopAfterACompletedRun)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    enableSlot(m, 1, QStringLiteral("job"));
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(25);
    EXPECT_EQ(m.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("STOP"));

    m.MAIN_START_STOP_BUTTON.click(); // starts nothing
    EXPECT_EQ(m.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("START"));
    h.seconds(5);
    EXPECT_EQ(h.launcher.calls.size(), 1);

    m.MAIN_START_STOP_BUTTON.click(); // a new run at slot 1
    h.seconds(1);
    EXPECT_EQ(h.launcher.calls.size(), 2);
}

TEST(TaskChain, StopHaltsTheChainAndKeepsTextsAndLights)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    enableSlot(m, 4, QStringLiteral("four"));
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(2);
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(30);
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("STOPPED - NO TASK HAD STARTED"));
    EXPECT_EQ(m.TASK_LIGHT[2].background(), colour::Red);
    EXPECT_EQ(m.TASK_LIGHT[3].background(), colour::White);
    EXPECT_TRUE(h.launcher.calls.isEmpty());
    EXPECT_FALSE(m.AUTOCLOSE_TIMER.enabled());
}

TEST(TaskChain, LightsKeepTheirColoursUntilTheirSlotIsReachedAgain)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    enableSlot(m, 2, QStringLiteral("two"));
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(25);
    h.launcher.end(1000, 0);
    EXPECT_EQ(m.TASK_LIGHT[2].background(), colour::Green);

    m.TASK_ENABLE_TICKBOX[2].setValue(0);
    m.MAIN_START_STOP_BUTTON.click();
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(1);
    EXPECT_EQ(m.TASK_LIGHT[2].background(), colour::Green) << "not reached yet";
    h.seconds(1);
    EXPECT_EQ(m.TASK_LIGHT[2].background(), colour::Red);
}

TEST(TaskChain, ACommandThatCannotStartIsReportedAndTheChainGoesOn)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    enableSlot(m, 1, QStringLiteral("missing-program"));
    m.TASK_PAUSE_TICKBOX[1].setValue(1);
    enableSlot(m, 2, QStringLiteral("works"));
    h.launcher.failing.insert(QStringLiteral("missing-program"));
    StatusLog log(h);
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(1);

    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("TASK 1 FAILED TO START"));
    EXPECT_EQ(m.TASK_LIGHT[1].background(), colour::Red);
    EXPECT_FALSE(m.TASK_WATCHER_TIMER[1].enabled()) << "nothing started, nothing to wait for";
    EXPECT_TRUE(m.TASK_MAIN_TIMER[2].enabled());
    EXPECT_FALSE(log.texts().contains(QStringLiteral("TASK 1 COMPLETED")));

    h.seconds(1);
    EXPECT_EQ(h.launcher.commands().last(), QStringLiteral("works"));
}

// The second after a launch holds the chain but not the window: other
// timers tick on time and a click is answered at once.
TEST(TaskChain, TheHoldAfterALaunchKeepsThePaceButNotTheWindow)
{
    for (const bool stopInTheHold : {false, true}) {
        SCOPED_TRACE(stopInTheHold ? "STOP in the hold" : "no click");
        Harness h;
        MainWindowModel& m = h.start().main;
        enableSlot(m, 1, QStringLiteral("one"));
        enableSlot(m, 2, QStringLiteral("two"));
        std::vector<SimulatedClock::Ms> runtimeTicks;
        m.RUNTIME_TIMER.onTick = [&] { runtimeTicks.push_back(h.clock.now()); };
        StatusLog log(h);
        h.clock.advance(500);
        m.MAIN_START_STOP_BUTTON.click(); // slot 1 ticks at 1500 and holds to 2500
        h.clock.advance(200);
        m.RUNTIME_TIMER.setEnabled(true); // due at 1700, inside the hold
        h.clock.advance(1300);
        EXPECT_EQ(runtimeTicks, (std::vector<SimulatedClock::Ms>{1700}));
        EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("RUNNING TASK 1"));
        EXPECT_EQ(m.TASK_LIGHT[1].background(), colour::Cyan);
        if (stopInTheHold) {
            m.MAIN_START_STOP_BUTTON.click();
            EXPECT_EQ(m.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("START"));
        }
        h.clock.advance(3000);
        // A stop also stops the run clock; without one it goes on through the hold.
        EXPECT_EQ(runtimeTicks.size(), stopInTheHold ? 1U : 4U) << "ticks at 1700, 2700, ...";
        if (stopInTheHold) {
            EXPECT_EQ(h.launcher.commands(), QStringList{QStringLiteral("one")}) << "the stop ended the hold";
            EXPECT_FALSE(log.texts().contains(QStringLiteral("TASK 1 STARTED - STILL RUNNING")));
        } else {
            ASSERT_EQ(h.launcher.calls.size(), 2);
            EXPECT_EQ(h.launcher.calls[1].atMs, 3500) << "two seconds a slot, as before";
            EXPECT_EQ(log.entries[1],
                      (std::pair<SimulatedClock::Ms, QString>{2500, QStringLiteral("TASK 1 STARTED - STILL RUNNING")}));
        }
    }
}

// Slot 2 launches at 2 s and holds to 3 s; with P4P its wait checks from 4 s.
TEST(TaskChain, AFailureWhileTheChainHoldsOnItsTaskSkipsTheRestWhenItsSlotSaysSo)
{
    const struct {
        const char* what;
        bool pause;
        bool stopSwitch;
        SimulatedClock::Ms failsAtMs; // 0: cannot start
        int exitCode;
        int signal;
        QString why; // empty: the chain goes on
    } cases[] = {
        {"ends 3 while waited on", true, true, 4500, 3, 0, QStringLiteral("task 2 failed")},
        {"killed in the hold", false, true, 2500, 0, 9, QStringLiteral("task 2 failed")},
        {"cannot start", false, true, 0, 0, 0, QStringLiteral("task 2 failed to start")},
        {"fails after the chain moved on", false, true, 3500, 3, 0, QString()},
        {"switch clear", true, false, 4500, 3, 0, QString()},
        {"ends well while waited on", true, true, 4500, 0, 0, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        MainWindowModel& m = h.start().main;
        enableSlot(m, 2, QStringLiteral("backup"));
        m.TASK_PAUSE_TICKBOX[2].setValue(c.pause ? 1 : 0);
        enableSlot(m, 3, QStringLiteral("delete-originals"));
        m.settings().writeTick(keys::taskStopOnFailure(2), c.stopSwitch ? 1 : 0);
        if (c.failsAtMs == 0)
            h.launcher.failing.insert(QStringLiteral("backup"));
        StatusLog log(h);
        m.MAIN_START_STOP_BUTTON.click();
        h.clock.advance(c.failsAtMs);
        if (c.failsAtMs != 0)
            h.launcher.end(1000, c.exitCode, c.signal);
        h.seconds(6);

        EXPECT_EQ(h.launcher.commands().contains(QStringLiteral("delete-originals")), c.why.isEmpty());
        if (c.why.isEmpty())
            continue;
        EXPECT_TRUE(m.LAST_RUN_TEXTBOX.text().startsWith(QStringLiteral("COMPLETED WITH ERRORS")))
            << "the pass ends as after slot 20";
        EXPECT_TRUE(h.journal.events.contains(
            JournalEvent{.kind = JournalEvent::Kind::TaskSkipped, .slot = 20, .reason = c.why}));
        EXPECT_EQ(m.TASK_LIGHT[3].toolTip(), QStringLiteral("skipped: ") + c.why);
        EXPECT_TRUE(log.texts().contains(QStringLiteral("TASK 2 FAILED - CHAIN STOPPED")));
    }
}

} // namespace
} // namespace zb
