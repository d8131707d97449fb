// What STOP and the autoclose leave behind, whenever they come.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using Kind = JournalEvent::Kind;

TEST(StopAndClose, StopAtAnyMomentLeavesSettingsTheClockAndTheStatusTrue)
{
    const std::pair<int, const char*> stops[] = {
        {11, "STOPPED - NO TASK HAD STARTED"}, {14, "STOPPED AT TASK 3"}, {40, "STOPPED - THE PROGRAM STAYS OPEN"}};
    for (const auto& [at, status] : stops) {
        SCOPED_TRACE(status);
        test::Harness h;
        for (const char* key : {"AUTOSTART_TICKBOX", "START_EMAIL_TICKBOX", "AUTOCLOSE_TICKBOX"})
            h.seed(QLatin1String(key), QStringLiteral("1"));
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

    // The autoclose closes only over a pass it was armed for, and never over
    // unsaved edits.
    test::Harness h;
    MainWindowModel& m = h.start().main;
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(25);
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("COMPLETED - READY..."));
    m.AUTOCLOSE_TICKBOX.setValue(1); // after the pass: nothing closes
    h.seconds(30);
    EXPECT_FALSE(m.unloaded());
    m.openEditor = [] { return QStringLiteral("Main settings"); };
    m.MAIN_START_STOP_BUTTON.click(); // after a STOP the button reads START again
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(21 + 12);
    EXPECT_FALSE(m.unloaded());
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("NOT CLOSED - MAIN SETTINGS HAS UNSAVED CHANGES"));
    m.openEditor = nullptr;
    m.AUTOCLOSE_START_BUTTON.click(); // armed by hand after the pass: closes, but tells no old pass
    const qsizetype closes = h.journal.kinds().count(Kind::Autoclosed);
    h.seconds(12);
    EXPECT_TRUE(m.unloaded());
    EXPECT_EQ(h.journal.kinds().count(Kind::Autoclosed), closes);
}

} // namespace
} // namespace zb
