// What STOP and the autoclose leave behind, whenever they come.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;
using Kind = JournalEvent::Kind;

TEST(StopAndClose, StopAtAnyMomentLeavesSettingsTheClockAndTheStatusTrue)
{
    const struct {
        int at;
        bool countdownButton;
        bool passBegun;
        const char* status;
    } cases[] = {
        {5, true, false, "AUTOSTART - MANUAL STOP - NOTHING RAN"},
        {11, false, false, "STOPPED - NO TASK HAD STARTED"},
        {14, false, true, "STOPPED AT TASK 3"},
        {40, false, true, "STOPPED - READY"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.status);
        Harness h;
        h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
        h.seed(QStringLiteral("START_EMAIL_TICKBOX"), QStringLiteral("1"));
        MainWindowModel& m = h.start().main;
        test::enableSlot(m, 3, QStringLiteral("/bin/three"));
        h.seconds(c.at);
        (c.countdownButton ? m.AUTOSTART_START_BUTTON : m.MAIN_START_STOP_BUTTON).click();
        const int clock = m.runtimeSeconds;
        h.seconds(3);
        EXPECT_TRUE(m.SETTINGS_BUTTON.enabled());
        EXPECT_EQ(m.runtimeSeconds, clock) << "the run clock stopped";
        EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QLatin1String(c.status));
        EXPECT_EQ(h.journal.kinds().contains(Kind::PassStarted), c.passBegun);
        EXPECT_EQ(h.journal.kinds().contains(Kind::EmailMissing), c.passBegun) << "the start e-mail goes with a task";
    }
}

TEST(StopAndClose, TheAutocloseClosesOnlyOverAPassItWasArmedForAndNeverOverUnsavedEdits)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    test::enableSlot(m, 1, QStringLiteral("/bin/one"));
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(25);
    m.AUTOCLOSE_TICKBOX.setValue(1); // after the pass: nothing closes
    h.seconds(30);
    EXPECT_FALSE(m.unloaded());
    m.AUTOCLOSE_START_BUTTON.click(); // armed by hand: closes, but tells no old pass
    h.seconds(12);
    EXPECT_TRUE(m.unloaded());
    EXPECT_FALSE(h.journal.kinds().contains(Kind::Autoclosed));

    Harness e;
    e.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
    e.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& w = e.start().main;
    w.openEditor = [] { return QStringLiteral("Main settings"); };
    e.seconds(11 + 21 + 12);
    EXPECT_FALSE(w.unloaded());
    EXPECT_TRUE(e.journal.kinds().contains(Kind::Autoclosed)) << "the pass is still told";
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), QStringLiteral("NOT CLOSED - MAIN SETTINGS HAS UNSAVED CHANGES"));
}

} // namespace
} // namespace zb
