#include "tests/support/Harness.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace zb {
namespace {

using test::Harness;
using Ms = SimulatedClock::Ms;

// Records the backdrop's colour every time it changes, with the time.
struct BackdropLog {
    explicit BackdropLog(Harness& h)
    {
        h.main().KITT_BACKGROUND_LABEL.setChangeListener([&h, this] {
            entries.push_back({h.clock.now(), h.main().KITT_BACKGROUND_LABEL.background()});
        });
    }
    std::vector<std::pair<Ms, Colour>> entries;
};

QList<Ms> pressTimes(const FakeKeyboard& k)
{
    QList<Ms> out;
    for (const FakeKeyboard::Press& p : k.presses) {
        EXPECT_EQ(p.key, LockKey::Num);
        out << p.atMs;
    }
    return out;
}

TEST(Heartbeat, PressesNumLockTwiceEvery301TicksAndLeavesItAsItWas)
{
    Harness h;
    h.keyboard.states.num = LockState::On;
    MainWindowModel& m = h.start().main;
    m.KITT_START_BUTTON.click();
    BackdropLog backdrop(h);

    h.seconds(1);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:05:00"));
    h.seconds(299);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:00:01"));
    EXPECT_TRUE(h.keyboard.presses.isEmpty());
    h.seconds(1);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:05:01")) << "zero is never shown";
    h.clock.advance(1000);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:05:00"));
    h.clock.advance(500);

    EXPECT_EQ(pressTimes(h.keyboard), (QList<Ms>{301750, 302500}));
    EXPECT_EQ(h.keyboard.states.num, LockState::On);
    const std::vector<std::pair<Ms, Colour>> flash{
        {301000, colour::Cyan}, {301750, colour::Green}, {302500, colour::Black}};
    EXPECT_EQ(backdrop.entries, flash);

    h.seconds(301);
    EXPECT_EQ(pressTimes(h.keyboard), (QList<Ms>{301750, 302500, 602750, 603500}));
    EXPECT_FALSE(m.NUMLOCK_TIMER_1.enabled());
    EXPECT_FALSE(m.NUMLOCK_TIMER_2.enabled());
}

TEST(Heartbeat, StoppedBetweenThePressesStillSendsTheSecondAndKeepsItsCount)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    m.KITT_START_BUTTON.click();
    h.clock.advance(301800); // the first press has just been sent
    ASSERT_EQ(h.keyboard.states.num, LockState::On);

    m.KITT_START_BUTTON.click();
    EXPECT_FALSE(m.HEARTBEAT_TIMER.enabled());
    h.seconds(5);
    EXPECT_EQ(pressTimes(h.keyboard), (QList<Ms>{301750, 302500}));
    EXPECT_EQ(h.keyboard.states.num, LockState::Off) << "Num Lock is never left toggled";
    EXPECT_EQ(m.KITT_BACKGROUND_LABEL.background(), colour::Black);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:05:01"));

    m.KITT_START_BUTTON.click();
    h.seconds(1);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:05:00")) << "a restart goes on from there";
}

TEST(Heartbeat, DoubleClickResetsTheCountdownToFiveMinutesRunningOrNot)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    EXPECT_TRUE(m.HEARTBEAT_COUNTDOWN_TEXTBOX.locked());
    m.HEARTBEAT_COUNTDOWN_TEXTBOX.edit(QStringLiteral("00:00:02"));
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:00:00")) << "typing changes nothing";

    m.HEARTBEAT_COUNTDOWN_TEXTBOX.doubleClick();
    h.seconds(10);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:05:00")) << "stopped: stays until started";
    m.KITT_START_BUTTON.click();
    h.seconds(1);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:04:59"));

    h.seconds(100);
    m.HEARTBEAT_COUNTDOWN_TEXTBOX.doubleClick();
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:05:00"));
    h.seconds(299);
    EXPECT_TRUE(h.keyboard.presses.isEmpty()) << "the reset put the presses five minutes off";
    h.clock.advance(1750);
    EXPECT_EQ(h.keyboard.presses.size(), 1);
}

TEST(Heartbeat, HoldsTheScreensaverInhibitionExactlyWhileItRuns)
{
    Harness h;
    h.seed(QStringLiteral("KITT_AUTOSTART_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    EXPECT_TRUE(h.screenSaver.held()) << "started by the stored switch";
    EXPECT_FALSE(h.screenSaver.lastReason.isEmpty());
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Keeping the session awake: key presses and screensaver inhibition"));

    m.KITT_START_BUTTON.click();
    EXPECT_FALSE(h.screenSaver.held());
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(), QStringLiteral("Heartbeat stopped"));

    h.screenSaver.offered = false; // the service has gone
    m.KITT_START_BUTTON.click();
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(), QStringLiteral("Keeping the session awake: key presses only"));

    h.screenSaver.offered = true;
    m.KITT_START_BUTTON.click();
    m.KITT_START_BUTTON.click();
    ASSERT_TRUE(h.screenSaver.held());
    h.program.reset(); // the program ends while the heartbeat runs
    EXPECT_FALSE(h.screenSaver.held());
    EXPECT_EQ(h.screenSaver.calls.last(), QStringLiteral("release"));
}

TEST(Heartbeat, WithoutKeyPressesTheTimersGoOnAndTheTooltipSaysSo)
{
    Harness h;
    h.keyboard.pressable = false;
    h.screenSaver.offered = false;
    MainWindowModel& m = h.start().main;
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Heartbeat stopped; key presses are not available"));
    m.KITT_START_BUTTON.click();
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Not keeping the session awake: key presses are not available and no screensaver "
                             "service answered"));
    h.screenSaver.offered = true;
    m.KITT_START_BUTTON.click();
    m.KITT_START_BUTTON.click();
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Keeping the session awake: screensaver inhibition only; key presses are not available"));

    h.clock.advance(302600);
    EXPECT_TRUE(h.keyboard.presses.isEmpty());
    EXPECT_EQ(m.KITT_BACKGROUND_LABEL.background(), colour::Black);
    EXPECT_FALSE(m.NUMLOCK_TIMER_2.enabled());
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:05:00"));
}

} // namespace
} // namespace zb
