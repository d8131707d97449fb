#include "tests/support/Harness.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;
using Call = FakeWindowStacking::SetTopmost;

constexpr WindowId kMain = 0x1200001;
constexpr WindowId kEditor = 0x1200077; // our own modal settings window
constexpr WindowId kOther = 0x3400005;  // another program's window
constexpr WindowId kCopy = 0x5600003;   // another copy of this program

TEST(AlwaysOnTop, DemotesAnotherProgramsForegroundWindowButNeverOursOrAnotherCopysAndOnlyWhenItMust)
{
    struct Case {
        const char* what;
        WindowId main;
        WindowId foreground;
        QSet<WindowId> topmost;
        QList<Call> calls;
    };
    const Case cases[] = {
        {"main window in the foreground", kMain, kMain, {kMain}, {}},
        {"main window activated before it was on top", kMain, kMain, {kOther}, {{kMain, true}}},
        {"another program's topmost window", kMain, kOther, {kOther}, {{kOther, false}, {kMain, true}}},
        {"another program's plain window", kMain, kOther, {}, {{kMain, true}}},
        {"nothing must change", kMain, kOther, {kMain}, {}},
        {"another copy of this program", kMain, kCopy, {kCopy}, {{kMain, true}}},
        {"our own modal editor", kMain, kEditor, {kOther}, {}},
        {"no foreground window", kMain, 0, {}, {{kMain, true}}},
        {"main window not on the screen yet", 0, kOther, {kOther}, {}},
    };
    for (const Case& c : cases) {
        // Asked once a second, or told of each change: the same decisions.
        for (const bool tells : {false, true}) {
            Harness h;
            h.stacking.main = c.main;
            h.stacking.foreground = c.foreground;
            h.stacking.topmostWindows = c.topmost;
            h.stacking.own = {kEditor};
            h.stacking.copies = {kCopy};
            h.stacking.tells = tells;
            h.start();
            if (tells) {
                h.stacking.calls.clear(); // what start-up did
                h.stacking.topmostWindows = c.topmost;
                h.stacking.activate(c.foreground);
            } else {
                h.clock.advance(999);
                EXPECT_TRUE(h.stacking.calls.isEmpty()) << c.what;
                h.clock.advance(1);
            }
            EXPECT_EQ(h.stacking.calls, c.calls) << c.what << (tells ? " (told)" : " (asked)");
        }
    }
}

TEST(AlwaysOnTop, StartsTickedWithoutAStoredValueAndClearingItTakesTheMainWindowOffTheTop)
{
    Harness h;
    h.stacking.main = kMain;
    h.stacking.foreground = kOther;
    h.stacking.topmostWindows = {kOther};
    MainWindowModel& m = h.start().main;
    EXPECT_TRUE(m.AlwaysOnTopTimer_TICKBOX.ticked());
    EXPECT_TRUE(m.AlwaysOnTopTimer.enabled());
    h.seconds(1);
    EXPECT_EQ(h.stacking.topmostWindows, QSet<WindowId>{kMain});

    m.AlwaysOnTopTimer_TICKBOX.click();
    EXPECT_FALSE(m.AlwaysOnTopTimer.enabled());
    EXPECT_TRUE(h.stacking.topmostWindows.isEmpty()) << "at once, not at the next start";
    h.stacking.calls.clear();
    h.stacking.foreground = 0x3400009;
    h.stacking.topmostWindows << 0x3400009;
    h.seconds(5);
    EXPECT_TRUE(h.stacking.calls.isEmpty());

    h.stacking.foregroundQueries = 0;
    m.AlwaysOnTopTimer_TICKBOX.click();
    h.seconds(2);
    EXPECT_EQ(h.stacking.foregroundQueries, 2);
    EXPECT_EQ(h.stacking.calls, (QList<Call>{{0x3400009, false}, {kMain, true}}))
        << "sent once, and only what had to change";
    EXPECT_EQ(h.stacking.topmostWindows, QSet<WindowId>{kMain});
}

TEST(AlwaysOnTop, ADesktopThatTellsOfItsChangesIsFollowedWithoutTicks)
{
    Harness h;
    h.stacking.tells = true;
    h.stacking.main = kMain;
    h.stacking.foreground = kMain;
    MainWindowModel& m = h.start().main;
    EXPECT_TRUE(m.AlwaysOnTopTimer.enabled());
    EXPECT_EQ(h.stacking.foregroundQueries, 1) << "looked once as it was switched on";
    h.seconds(60);
    EXPECT_EQ(h.stacking.foregroundQueries, 1) << "nothing asked while nothing changes";

    h.stacking.topmostWindows = {kOther};
    h.stacking.activate(kOther);
    EXPECT_EQ(h.stacking.topmostWindows, QSet<WindowId>{kMain}) << "at once, not a second later";

    m.AlwaysOnTopTimer_TICKBOX.click();
    h.stacking.calls.clear();
    h.stacking.topmostWindows << 0x3400009;
    h.stacking.activate(0x3400009);
    EXPECT_TRUE(h.stacking.calls.isEmpty()) << "switched off";

    m.AlwaysOnTopTimer_TICKBOX.click();
    EXPECT_EQ(h.stacking.calls, (QList<Call>{{0x3400009, false}, {kMain, true}})) << "switching on looks at once";

    h.program.reset();
    EXPECT_FALSE(h.stacking.onChange) << "the desktop outlives the program: it must stop telling";
}

TEST(AlwaysOnTop, WhereTheDesktopHasNoTopmostLayerTheBoxIsDisabledAndSaysWhy)
{
    Harness h;
    h.stacking.problem = QStringLiteral("the window manager keeps no windows above the others");
    h.stacking.main = kMain;
    h.stacking.foreground = kOther;
    MainWindowModel& m = h.start().main;
    EXPECT_FALSE(m.AlwaysOnTopTimer_TICKBOX.enabled());
    EXPECT_EQ(m.AlwaysOnTopTimer_TICKBOX.toolTip(),
              QStringLiteral("Always On Top is not available: the window manager keeps no windows above the others"));
    EXPECT_TRUE(m.AlwaysOnTopTimer_TICKBOX.ticked()) << "the stored switch is kept for a desktop that has the layer";
    h.seconds(10);
    EXPECT_TRUE(h.stacking.calls.isEmpty());
    EXPECT_EQ(h.stacking.foregroundQueries, 0);
}

} // namespace
} // namespace zb
