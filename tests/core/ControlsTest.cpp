#include "core/Control.h"
#include "core/Timer.h"
#include "platform/fake/SimulatedClock.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

TEST(TickBox, SettingFromCodeRunsClickHandlingOnlyOnChange)
{
    TickBox box(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("AutoClose At End"));
    int clicks = 0;
    int changes = 0;
    box.onClick = [&] { ++clicks; };
    box.setChangeListener([&] { ++changes; });

    box.setValue(0); // same value: nothing
    EXPECT_EQ(clicks, 0);
    box.setValue(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(changes, 1);
    box.click(); // a user click toggles and runs the same handling
    EXPECT_EQ(box.value(), 0);
    EXPECT_EQ(clicks, 2);

    box.setEnabled(false);
    box.click();
    EXPECT_EQ(box.value(), 0) << "a disabled box ignores clicks";
    EXPECT_EQ(clicks, 2);
}

TEST(TickBox, HandlerSeesTheNewValue)
{
    TickBox box(QStringLiteral("T"), QString());
    int seen = -1;
    box.onClick = [&] { seen = box.value(); };
    box.setValue(1);
    EXPECT_EQ(seen, 1);
}

TEST(ButtonAndTextField, ClicksAndEditsRespectEnabledAndLocked)
{
    Button button(QStringLiteral("B"), QStringLiteral("START"));
    int clicks = 0;
    button.onClick = [&] { ++clicks; };
    button.click();
    button.setEnabled(false);
    button.click();
    EXPECT_EQ(clicks, 1);

    TextField field(QStringLiteral("F"), QStringLiteral("x"));
    field.edit(QStringLiteral("typed"));
    EXPECT_EQ(field.text(), QStringLiteral("typed"));
    field.setLocked(true);
    field.edit(QStringLiteral("ignored"));
    EXPECT_EQ(field.text(), QStringLiteral("typed"));
}

TEST(Timer, FirstTickOneIntervalAfterEnablingAndRepeats)
{
    SimulatedClock clock;
    Timer timer(clock, QStringLiteral("T"), 1000);
    std::vector<SimulatedClock::Ms> ticks;
    timer.onTick = [&] { ticks.push_back(clock.now()); };

    clock.advance(500);
    timer.setEnabled(true);
    clock.advance(2600);
    EXPECT_EQ(ticks, (std::vector<SimulatedClock::Ms>{1500, 2500}));

    timer.setEnabled(true); // already on: does not re-arm
    clock.advance(500);
    EXPECT_EQ(ticks.back(), 3500);

    timer.setEnabled(false);
    clock.advance(5000);
    EXPECT_EQ(ticks.size(), 3U);
}

TEST(Timer, IntervalChangeReArmsAndZeroIntervalOrNoWakeUpsNeverTick)
{
    SimulatedClock clock;
    Timer timer(clock, QStringLiteral("T"), 0);
    int ticks = 0;
    timer.onTick = [&] { ++ticks; };
    timer.setEnabled(true);
    clock.advance(10000);
    EXPECT_EQ(ticks, 0);

    timer.setInterval(1000);
    clock.advance(999);
    EXPECT_EQ(ticks, 0);
    clock.advance(1);
    EXPECT_EQ(ticks, 1);

    // Without wake-ups it stays enabled with its interval but never ticks,
    // and with them back it is armed afresh.
    timer.setWakesUp(false);
    clock.advance(10000);
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(timer.enabled());
    EXPECT_EQ(timer.interval(), 1000);
    timer.setEnabled(false);
    timer.setEnabled(true);
    clock.advance(10000);
    EXPECT_EQ(ticks, 1) << "re-enabling does not bring the wake-ups back";
    timer.setWakesUp(true);
    clock.advance(1000);
    EXPECT_EQ(ticks, 2);
}

} // namespace
} // namespace zb
