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

TEST(AlwaysOnTop, EachSecondDemotesAnotherProgramsForegroundWindowButNeverOurOwn)
{
    struct Case {
        const char* what;
        WindowId main;
        WindowId foreground;
        QList<Call> calls;
    };
    const Case cases[] = {
        {"main window in the foreground", kMain, kMain, {}},
        {"another program's window", kMain, kOther, {{kOther, false}, {kMain, true}}},
        {"our own modal editor", kMain, kEditor, {}},
        {"no foreground window", kMain, 0, {{kMain, true}}},
        {"main window not on the screen yet", 0, kOther, {}},
    };
    for (const Case& c : cases) {
        Harness h;
        h.stacking.main = c.main;
        h.stacking.foreground = c.foreground;
        h.stacking.own = {kEditor};
        h.start();
        h.clock.advance(999);
        EXPECT_TRUE(h.stacking.calls.isEmpty()) << c.what;
        h.clock.advance(1);
        EXPECT_EQ(h.stacking.calls, c.calls) << c.what;
    }
}

TEST(AlwaysOnTop, StartsTickedWithoutAStoredValueAndClearingItLeavesTheMainWindowOnTop)
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
    h.stacking.calls.clear();
    h.stacking.foreground = 0x3400009;
    h.seconds(5);
    EXPECT_TRUE(h.stacking.calls.isEmpty());
    EXPECT_EQ(h.stacking.topmostWindows, QSet<WindowId>{kMain});

    h.stacking.foregroundQueries = 0;
    m.AlwaysOnTopTimer_TICKBOX.click();
    h.seconds(2);
    EXPECT_EQ(h.stacking.foregroundQueries, 2);
    EXPECT_EQ(h.stacking.calls, (QList<Call>{{0x3400009, false}, {kMain, true}, {0x3400009, false}, {kMain, true}}));
}

} // namespace
} // namespace zb
