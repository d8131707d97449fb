// What STOP and the autoclose leave behind, whenever they come, and the
// status texts at the turns of a pass.
#include "EngineTestSupport.h"
#include "engine/StatusTexts.h"

#include <gtest/gtest.h>

#include <functional>

namespace zb {
namespace {

using test::Harness;
using Kind = JournalEvent::Kind;

bool launchedScript(const Harness& h, const QString& part)
{
    return std::any_of(h.launcher.calls.cbegin(), h.launcher.calls.cend(),
                       [&part](const auto& c) { return c.command.contains(part); });
}

TEST(StopAndClose, StopAtAnyMomentLeavesSettingsTheClockAndTheStatusTrue)
{
    struct Case {
        const char* moment;
        int atSeconds;
        std::function<void(MainWindowModel&)> stop;
        bool passBegun;
        QString status;
    };
    const auto mainStop = [](MainWindowModel& m) { m.MAIN_START_STOP_BUTTON.click(); };
    const Case cases[] = {
        {"countdown", 5, [](MainWindowModel& m) { m.AUTOSTART_START_BUTTON.click(); }, false,
         QStringLiteral("AUTOSTART - MANUAL STOP - NOTHING RAN")},
        {"fired, no task yet", 11, mainStop, false, QStringLiteral("STOPPED - NO TASK HAD STARTED")},
        {"running chain", 14, mainStop, true, QStringLiteral("STOPPED AT TASK 3")},
        {"after the chain", 40, mainStop, true, QStringLiteral("STOPPED - READY")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moment);
        Harness h;
        for (const char* key : {"AUTOSTART_TICKBOX", "START_EMAIL_TICKBOX"})
            h.seed(QLatin1String(key), QStringLiteral("1"));
        h.seed(QStringLiteral("LAST_RUN"), text::kCompletedSuccessfully);
        MainWindowModel& m = h.start().main;
        test::enableSlot(m, 3, QStringLiteral("/bin/three"));
        h.seconds(c.atSeconds);
        c.stop(m);
        const int clock = m.runtimeSeconds;
        h.seconds(3);

        EXPECT_TRUE(m.SETTINGS_BUTTON.enabled());
        EXPECT_EQ(m.runtimeSeconds, clock) << "the run clock stopped";
        EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), c.status);
        EXPECT_EQ(h.journal.kinds().contains(Kind::PassStarted), c.passBegun);
        EXPECT_EQ(launchedScript(h, QStringLiteral("START-EMAIL")) || h.journal.kinds().contains(Kind::EmailMissing),
                  c.passBegun)
            << "the start e-mail goes with the first task";
        if (!c.passBegun)
            EXPECT_EQ(m.LAST_RUN_TEXTBOX.text(), text::kCompletedSuccessfully) << "the night stays the last run";
    }
}

TEST(StopAndClose, TheAutocloseClosesOnlyOverAPassItWasArmedForAndNeverOverUnsavedEdits)
{
    Harness h;
    h.seed(QStringLiteral("END_EMAIL_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    test::enableSlot(m, 1, QStringLiteral("/bin/one"));
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(25);
    EXPECT_EQ(m.LAST_RUN_TEXTBOX.text(), text::kCompletedSuccessfully) << "a hand pass is the last run";
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), text::kCompletedSuccessfully);

    // Ticked after the pass: nothing closes.
    m.AUTOCLOSE_TICKBOX.setValue(1);
    h.seconds(30);
    EXPECT_FALSE(m.unloaded());

    // Armed by hand after the pass: it closes, but mails and journals nothing old.
    m.AUTOCLOSE_START_BUTTON.click();
    h.seconds(12);
    EXPECT_TRUE(m.unloaded());
    EXPECT_FALSE(launchedScript(h, QStringLiteral("END-EMAIL")));
    EXPECT_FALSE(h.journal.kinds().contains(Kind::Autoclosed));

    // At a pass's own end, an editor with unsaved edits keeps the window open.
    Harness e;
    for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX"})
        e.seed(QLatin1String(key), QStringLiteral("1"));
    MainWindowModel& w = e.start().main;
    w.openEditor = [] { return QStringLiteral("Main settings"); };
    e.seconds(11 + 21 + 12);
    EXPECT_FALSE(w.unloaded());
    EXPECT_TRUE(e.journal.kinds().contains(Kind::Autoclosed)) << "the pass is still told";
    EXPECT_EQ(w.CURRENT_STATUS_LABEL.caption(), QStringLiteral("NOT CLOSED - MAIN SETTINGS HAS UNSAVED CHANGES"));
    EXPECT_TRUE(w.SETTINGS_BUTTON.enabled());
}

TEST(StatusTexts, SayHowATaskAndAPassStand)
{
    const std::pair<QString, QString> rows[] = {
        {status::handedOver(2, false, QString()), QStringLiteral("TASK 2 COMPLETED")},
        {status::handedOver(2, true, QString()), QStringLiteral("TASK 2 STARTED - STILL RUNNING")},
        {status::handedOver(2, false, QStringLiteral("exited with 3")),
         QStringLiteral("TASK 2 FAILED - EXITED WITH 3")},
        {status::ready(true), QStringLiteral("COMPLETED - READY...")},
        {status::ready(false), QStringLiteral("ENDED WITH ERRORS - SEE LAST RUN")},
    };
    for (const auto& [said, expected] : rows)
        EXPECT_EQ(said, expected);
}

} // namespace
} // namespace zb
