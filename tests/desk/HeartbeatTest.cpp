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

// A window system that blanks the screen sooner than a cycle: the presses
// come first, with room for a late tick; the full cycle stays the longest.
TEST(Heartbeat, ACycleEndsBeforeTheScreenWouldBlank)
{
    const struct {
        int idleLimit;
        int cycle;
    } cases[] = {{0, 301}, {600, 301}, {311, 301}, {310, 300}, {300, 290}, {60, 50}, {10, 5}, {1, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(heartbeatCycleSeconds(c.idleLimit), c.cycle) << c.idleLimit;

    Harness h;
    h.keyboard.idleLimit = 300;
    MainWindowModel& m = h.start().main;
    m.KITT_START_BUTTON.click();
    h.seconds(1);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:04:49"));
    h.seconds(581);
    EXPECT_EQ(pressTimes(h.keyboard), (QList<Ms>{290750, 291500, 580750, 581500}));
    h.keyboard.idleLimit = 0;
    m.HEARTBEAT_COUNTDOWN_TEXTBOX.doubleClick();
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:05:00"));

    // A keyboard that learns the limit only after the start tells of it.
    Harness late;
    late.keyboard.tells = true;
    MainWindowModel& l = late.start().main;
    l.KITT_START_BUTTON.click();
    late.keyboard.idleLimit = 60;
    late.keyboard.set(late.keyboard.states);
    EXPECT_EQ(l.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:00:50"));
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

TEST(Heartbeat, WantsTheInhibitionExactlyWhileItRunsAndItsTooltipFollowsWhoHoldsIt)
{
    Harness h;
    h.seed(QStringLiteral("KITT_AUTOSTART_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    const auto tip = [&m] { return m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(); };
    EXPECT_TRUE(h.screenSaver.wanted) << "started by the stored switch";
    EXPECT_FALSE(h.screenSaver.lastReason.isEmpty());
    EXPECT_EQ(tip(), QStringLiteral("Keeping the session awake: key presses and an inhibition held by the screensaver "
                                    "service (org.freedesktop.ScreenSaver)"));

    // The service goes, the portal takes over, the service comes back.
    h.screenSaver.setHolder(InhibitionHolder::None);
    EXPECT_EQ(tip(), QStringLiteral("Keeping the session awake: key presses only; no screensaver service or desktop "
                                    "portal holds an inhibition"));
    h.screenSaver.setHolder(InhibitionHolder::Portal);
    EXPECT_EQ(tip(), QStringLiteral("Keeping the session awake: key presses and an inhibition held by the desktop "
                                    "portal (org.freedesktop.portal.Inhibit)"));
    h.screenSaver.setHolder(InhibitionHolder::ScreenSaver);

    m.KITT_START_BUTTON.click();
    EXPECT_FALSE(h.screenSaver.wanted);
    EXPECT_FALSE(h.screenSaver.held());
    EXPECT_EQ(tip(), QStringLiteral("Heartbeat stopped"));

    m.KITT_START_BUTTON.click();
    ASSERT_TRUE(h.screenSaver.held());
    h.program.reset(); // the program ends while the heartbeat runs
    EXPECT_FALSE(h.screenSaver.held());
    EXPECT_EQ(h.screenSaver.calls.last(), QStringLiteral("release"));
}

TEST(Heartbeat, WithoutKeyPressesTheTimersGoOnAndTheTooltipSaysWhy)
{
    Harness h;
    h.keyboard.pressable = false;
    h.screenSaver.offeredBy = InhibitionHolder::None;
    MainWindowModel& m = h.start().main;
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Heartbeat stopped; key presses are not available: cannot press"));
    m.KITT_START_BUTTON.click();
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Not keeping the session awake: no screensaver service or desktop portal holds an "
                             "inhibition, and key presses are not available: cannot press"));
    h.screenSaver.setHolder(InhibitionHolder::ScreenSaver);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip(),
              QStringLiteral("Keeping the session awake: an inhibition held by the screensaver service "
                             "(org.freedesktop.ScreenSaver) only; key presses are not available: cannot press"));

    h.clock.advance(302600);
    EXPECT_TRUE(h.keyboard.presses.isEmpty());
    EXPECT_EQ(m.KITT_BACKGROUND_LABEL.background(), colour::Black);
    EXPECT_FALSE(m.NUMLOCK_TIMER_2.enabled());
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.text(), QStringLiteral("00:05:00"));
}

TEST(Heartbeat, EndingBetweenThePressesSendsTheSecondSoNumLockIsLeftAsItWas)
{
    struct Case {
        const char* when;
        Ms runFor;
        int presses;
    };
    const Case cases[] = {
        {"counting", 200000, 0},
        {"first press pending", 301500, 0},
        {"second press pending", 302000, 2},
        {"pair done", 303000, 2},
    };
    for (const Case& c : cases) {
        Harness h;
        MainWindowModel& m = h.start().main;
        m.KITT_START_BUTTON.click();
        h.clock.advance(c.runFor);
        h.program.reset();
        EXPECT_EQ(h.keyboard.presses.size(), c.presses) << c.when;
        EXPECT_EQ(h.keyboard.states.num, LockState::Off) << c.when;
    }
}

TEST(Heartbeat, TheCountdownIsGreenOnBlack)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.foreground(), colour::Green);
    EXPECT_EQ(m.HEARTBEAT_COUNTDOWN_TEXTBOX.background(), colour::Black);
}

} // namespace
} // namespace zb
