#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;
using test::StatusLog;

// Records a text field's text every time it changes.
struct FieldLog {
    explicit FieldLog(TextField& field) : last(field.text())
    {
        field.setChangeListener([&field, this] {
            if (field.text() != last)
                texts << (last = field.text());
        });
    }
    QString last;
    QStringList texts;
};

QStringList countdownTexts(int from, int to)
{
    QStringList out;
    for (int s = from; s >= to; --s)
        out << QStringLiteral("%1").arg(s, 2, 10, QLatin1Char('0'));
    return out;
}

TEST(AutostartCountdown, CountsTenToOneThenFiresOnTheEleventhTick)
{
    Harness h;
    h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    EXPECT_EQ(m.AUTOSTART_TIMER_TEXTBOX.text(), QStringLiteral("00"));
    FieldLog field(m.AUTOSTART_TIMER_TEXTBOX);
    StatusLog log(h);

    h.seconds(10);
    EXPECT_EQ(field.texts, countdownTexts(10, 1));
    EXPECT_EQ(log.texts().last(), QStringLiteral("!!! AUTOSTARTING IN 1 s - PRESS STOP OR ESC TO CANCEL !!!"));
    EXPECT_EQ(m.AUTOSTART_TIMER_TEXTBOX.background(), colour::Yellow) << "hard to miss";
    EXPECT_EQ(m.AUTOSTART_START_BUTTON.caption(), QStringLiteral("STOP"));
    EXPECT_FALSE(m.SETTINGS_BUTTON.enabled());
    EXPECT_FALSE(m.TASK_MAIN_TIMER[1].enabled());

    h.seconds(1);
    EXPECT_EQ(field.texts.mid(10), (QStringList{QStringLiteral("00"), QStringLiteral("-- --")}));
    EXPECT_EQ(log.textsSince(11000),
              (QStringList{QStringLiteral("!!! AUTOSTARTING !!!"), QStringLiteral("STARTING RUNTIME TIMER!!!")}));
    EXPECT_EQ(m.AUTOSTART_START_BUTTON.caption(), QStringLiteral("START"));
    EXPECT_FALSE(m.AUTOSTART_TIMER.enabled());
    EXPECT_FALSE(m.SETTINGS_BUTTON.enabled()) << "stays disabled after firing";
    EXPECT_EQ(m.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("STOP"));

    h.seconds(1);
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("SKIPPING TASK 1"));
}

TEST(AutostartCountdown, RestartedAfterFiringRunsOnBelowZeroAndFiresSixtyTicksLater)
{
    Harness h;
    h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    h.seconds(11);
    FieldLog field(m.AUTOSTART_TIMER_TEXTBOX);
    m.AUTOSTART_START_BUTTON.click();
    m.MAIN_START_STOP_BUTTON.click(); // STOP, so that only the autostart can start a pass

    h.seconds(59);
    QStringList below;
    for (int s = 1; s <= 59; ++s)
        below << QStringLiteral("%1").arg(s, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(field.texts, below);
    EXPECT_FALSE(m.TASK_MAIN_TIMER[1].enabled());

    h.seconds(1);
    EXPECT_EQ(field.texts.mid(59), (QStringList{QStringLiteral("00"), QStringLiteral("-- --")}));
    EXPECT_TRUE(m.TASK_MAIN_TIMER[1].enabled());
    EXPECT_EQ(m.autostartCountdown, -60);
}

// A pass of twenty skipped slots reaches the end-of-run step 20 s after it
// starts; its first tick comes a second later.
constexpr int kSkippedPassSeconds = 20;

TEST(AutocloseCountdown, AfterTheChainCountsDownElevenSecondsThenFinishesAndCloses)
{
    Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    FieldLog field(m.AUTOCLOSE_TIMER_TEXTBOX);
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(kSkippedPassSeconds);
    StatusLog log(h);
    h.seconds(1);
    EXPECT_EQ(log.texts(), QStringList{QStringLiteral("AUTOCLOSE COUNTDOWN STARTED")});
    EXPECT_EQ(m.AUTOCLOSE_TIMER_TEXTBOX.text(), QStringLiteral("10"));
    EXPECT_EQ(m.AUTOCLOSE_START_BUTTON.caption(), QStringLiteral("STOP"));

    h.seconds(9);
    EXPECT_FALSE(m.unloaded());
    h.seconds(1);
    EXPECT_EQ(field.texts, countdownTexts(10, 0) << QStringLiteral("-- --"));
    EXPECT_EQ(log.texts().mid(1),
              (QStringList{QStringLiteral("SKIPPING END EMAIL"), QStringLiteral("!!! AUTOCLOSING !!!")}));
    EXPECT_TRUE(m.unloaded());
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("COMPLETED SUCCESSFULLY"));
}

TEST(AutocloseCountdown, ClearingTheTickBoxDuringTheCountdownStopsItAndKeepsTheDigits)
{
    Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(kSkippedPassSeconds + 4);
    EXPECT_EQ(m.AUTOCLOSE_TIMER_TEXTBOX.text(), QStringLiteral("07"));
    m.AUTOCLOSE_TICKBOX.click();
    EXPECT_FALSE(m.AUTOCLOSE_TIMER.enabled());
    EXPECT_FALSE(m.AUTOCLOSE_START_BUTTON.enabled());
    h.seconds(60);
    EXPECT_EQ(m.AUTOCLOSE_TIMER_TEXTBOX.text(), QStringLiteral("07"));
    EXPECT_FALSE(m.unloaded());
}

// The two countdowns' own controls, side by side.
struct Countdown {
    const char* kind;
    Button MainWindowModel::*button;
    Timer MainWindowModel::*timer;
    TextField MainWindowModel::*field;
};
const Countdown kCountdowns[] = {
    {"AUTOSTART", &MainWindowModel::AUTOSTART_START_BUTTON, &MainWindowModel::AUTOSTART_TIMER,
     &MainWindowModel::AUTOSTART_TIMER_TEXTBOX},
    {"AUTOCLOSE", &MainWindowModel::AUTOCLOSE_START_BUTTON, &MainWindowModel::AUTOCLOSE_TIMER,
     &MainWindowModel::AUTOCLOSE_TIMER_TEXTBOX},
};

TEST(Countdowns, ButtonsStartAndStopByHandAndADoubleClickRestartsFromEleven)
{
    for (const Countdown& c : kCountdowns) {
        SCOPED_TRACE(c.kind);
        const bool autoclose = QLatin1String(c.kind) == QLatin1String("AUTOCLOSE");
        Harness h;
        h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1")); // enables the autoclose button
        MainWindowModel& m = h.start().main;
        Button& button = m.*c.button;
        TextField& field = m.*c.field;

        button.click();
        EXPECT_EQ(button.caption(), QStringLiteral("STOP"));
        EXPECT_TRUE((m.*c.timer).enabled());
        EXPECT_FALSE(m.SETTINGS_BUTTON.enabled());
        EXPECT_EQ(m.AUTOCLOSE_TICKBOX.enabled(), !autoclose) << "locked while the autoclose counts";
        EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QLatin1String(c.kind) + QStringLiteral(" - MANUAL START"));
        EXPECT_EQ(m.LAST_RUN_TEXTBOX.text(), QString()) << "the last run is a pass's, not a button's";
        h.seconds(4);
        EXPECT_EQ(field.text(), QStringLiteral("07"));

        button.click();
        EXPECT_EQ(button.caption(), QStringLiteral("START"));
        EXPECT_FALSE((m.*c.timer).enabled());
        EXPECT_TRUE(m.SETTINGS_BUTTON.enabled());
        EXPECT_TRUE(m.AUTOCLOSE_TICKBOX.enabled());
        EXPECT_TRUE(
            m.CURRENT_STATUS_LABEL.caption().startsWith(QLatin1String(c.kind) + QStringLiteral(" - MANUAL STOP")));
        h.seconds(30);
        EXPECT_EQ(field.text(), QStringLiteral("07")) << "stopped where it was";

        button.click(); // resumes at 7 ...
        h.seconds(3);
        field.doubleClick(); // ... and restarts from 11 while counting
        EXPECT_EQ(field.text(), QStringLiteral("11"));
        h.seconds(10);
        EXPECT_EQ(field.text(), QStringLiteral("01"));
        h.seconds(1);
        EXPECT_EQ(field.text(), QStringLiteral("-- --"));
        // Started by hand, the autoclose closes the program without a run,
        // and claims none.
        EXPECT_EQ(m.unloaded(), autoclose);
        EXPECT_NE(h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("COMPLETED SUCCESSFULLY"));
        EXPECT_TRUE(h.launcher.calls.isEmpty());
    }
}

// Starting a pass supersedes the end-of-run step of the one before: the old
// step can neither write over the new pass's texts nor close it midway.
TEST(NewPass, SwitchesTheEndOfRunStepOffWhetherStartedByButtonOrAutostart)
{
    for (const bool byAutostart : {false, true}) {
        SCOPED_TRACE(byAutostart ? "autostart" : "START button");
        Harness h;
        MainWindowModel& m = h.start().main;
        test::enableSlot(m, 10, QStringLiteral("ten"));
        m.MAIN_START_STOP_BUTTON.click();
        h.seconds(kSkippedPassSeconds + 5);
        ASSERT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("COMPLETED - READY..."));

        if (byAutostart) {
            m.AUTOSTART_TIMER_TEXTBOX.doubleClick();
            m.AUTOSTART_START_BUTTON.click();
            h.seconds(11);
        } else {
            m.MAIN_START_STOP_BUTTON.click(); // reads STOP after the completed pass
            m.MAIN_START_STOP_BUTTON.click();
        }
        EXPECT_FALSE(m.AUTOCLOSE_TIMER.enabled());
        const SimulatedClock::Ms passStart = h.clock.now();
        StatusLog log(h);
        m.AUTOCLOSE_TICKBOX.click(); // ticked during the new pass
        h.seconds(15);
        EXPECT_FALSE(m.unloaded()) << "not closed in the middle of the pass";
        EXPECT_FALSE(log.texts().contains(QStringLiteral("COMPLETED - READY...")));
        EXPECT_FALSE(log.texts().contains(QStringLiteral("AUTOCLOSE COUNTDOWN STARTED")));
        EXPECT_EQ(h.launcher.commands(), (QStringList{QStringLiteral("ten"), QStringLiteral("ten")}));

        // The new pass's own end starts the countdown: twenty slot ticks and
        // the hold after slot 10's launch, then eleven countdown ticks.
        ASSERT_TRUE(h.clock.runUntil([&] { return m.unloaded(); }, 60'000));
        EXPECT_EQ(h.clock.now() - passStart, (kSkippedPassSeconds + 1 + 11) * 1000);
    }
}

TEST(NewPass, LeavesAnAutocloseCountdownStartedByHandRunning)
{
    Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    m.AUTOCLOSE_START_BUTTON.click();
    h.seconds(3);
    m.MAIN_START_STOP_BUTTON.click();
    EXPECT_TRUE(m.AUTOCLOSE_TIMER.enabled());
    h.seconds(8);
    EXPECT_TRUE(m.unloaded()) << "closes eleven seconds after the hand start, as asked";
}

TEST(NewPass, AHandStartEndedByClearingTheTickBoxNoLongerProtectsTheTimer)
{
    Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    m.AUTOCLOSE_START_BUTTON.click();
    m.AUTOCLOSE_TICKBOX.setValue(0); // as the settings window does
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(kSkippedPassSeconds + 2); // the end-of-run step is on again
    ASSERT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("COMPLETED - READY..."));
    m.MAIN_START_STOP_BUTTON.click();
    m.MAIN_START_STOP_BUTTON.click(); // a new pass
    EXPECT_FALSE(m.AUTOCLOSE_TIMER.enabled());
}

// A chain-started countdown cut short by a new pass is off completely: the
// button reads START and the next end of run counts the full eleven seconds.
TEST(NewPass, ResetsAChainStartedCountdownItSwitchesOff)
{
    Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(kSkippedPassSeconds + 5); // five ticks into the countdown
    ASSERT_EQ(m.AUTOCLOSE_TIMER_TEXTBOX.text(), QStringLiteral("06"));
    ASSERT_EQ(m.AUTOCLOSE_START_BUTTON.caption(), QStringLiteral("STOP"));

    m.MAIN_START_STOP_BUTTON.click();
    m.MAIN_START_STOP_BUTTON.click(); // a new pass
    EXPECT_FALSE(m.AUTOCLOSE_TIMER.enabled());
    EXPECT_EQ(m.AUTOCLOSE_START_BUTTON.caption(), QStringLiteral("START"));
    EXPECT_EQ(m.AUTOCLOSE_TIMER_TEXTBOX.text(), QStringLiteral("11"));

    const SimulatedClock::Ms passStart = h.clock.now();
    ASSERT_TRUE(h.clock.runUntil([&] { return m.unloaded(); }, 60'000));
    EXPECT_EQ(h.clock.now() - passStart, (kSkippedPassSeconds + 11) * 1000);
}

} // namespace
} // namespace zb
