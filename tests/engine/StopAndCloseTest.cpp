// What STOP and the autoclose leave behind, whenever they come.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;
using Kind = JournalEvent::Kind;

TEST(StopAndClose, StopAtAnyMomentLeavesSettingsTheClockAndTheStatusTrue)
{
    const std::pair<int, const char*> stops[] = {
        {11, "STOPPED - NO TASK HAD STARTED"}, {14, "STOPPED AT TASK 3"}, {40, "STOPPED - THE PROGRAM STAYS OPEN"}};
    for (const auto& [at, status] : stops) {
        SCOPED_TRACE(status);
        Harness h;
        h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
        h.seed(QStringLiteral("START_EMAIL_TICKBOX"), QStringLiteral("1"));
        h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
        MainWindowModel& m = h.start().main;
        test::enableSlot(m, 3, QStringLiteral("/bin/three"));
        h.seconds(at);
        m.MAIN_START_STOP_BUTTON.click();
        h.seconds(20);
        EXPECT_FALSE(m.unloaded());
        EXPECT_TRUE(m.SETTINGS_BUTTON.enabled());
        EXPECT_FALSE(m.RUNTIME_TIMER.enabled());
        EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QLatin1String(status));
        // A pass, and its start e-mail, begin with its first task.
        EXPECT_EQ(h.journal.kinds().contains(Kind::PassStarted), at > 11);
        EXPECT_EQ(h.journal.kinds().contains(Kind::EmailMissing), at > 11);
    }
}

TEST(StopAndClose, TheAutocloseClosesOnlyOverAPassItWasArmedForAndNeverOverUnsavedEdits)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    test::enableSlot(m, 1, QStringLiteral("/bin/one"));
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(25);
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("COMPLETED - READY..."));
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
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), QStringLiteral("NOT CLOSED - MAIN SETTINGS HAS UNSAVED CHANGES"));
}

} // namespace
} // namespace zb
