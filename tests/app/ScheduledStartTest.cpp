// A start by cron, with its window or without, over the whole logic on
// fakes; tests/app/NoDisplayStartTest decides between them on the real
// program.
#include "app/ScheduledStart.h"
#include "engine/HistoryWindowModel.h"
#include "engine/JournalText.h"
#include "tests/support/Harness.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using K = JournalEvent::Kind;
using test::Harness;

TEST(ScheduledStart, AWindowlessPassRunsTheChainWithItsEmailsAndAlwaysClosesAfterIt)
{
    Harness h;
    for (const char* key : {"AUTOSTART_TICKBOX", "START_EMAIL_TICKBOX", "END_EMAIL_TICKBOX", "TASK_1_ENABLE_TICKBOX"})
        h.seed(QLatin1String(key), QStringLiteral("1"));
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("0"));
    h.seed(QStringLiteral("TASK_1_CMD"), QStringLiteral("job"));
    for (const EmailBatch kind : {EmailBatch::Start, EmailBatch::End})
        h.files.present.insert(emailBatchPath(h.exe.programFolder(), h.exe.baseName(), kind));
    h.start();
    applyStartOptions(*h.program, {true, true, QStringLiteral("no display")});
    h.seconds(60);

    EXPECT_TRUE(h.main().unloaded()) << "closed after the chain though AutoClose is clear";
    EXPECT_EQ(h.stored(QStringLiteral("AUTOCLOSE_TICKBOX")), QStringLiteral("0")) << "the stored tick is left alone";
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("COMPLETED SUCCESSFULLY"));
    const QList<K> kinds = h.journal.kinds();
    ASSERT_EQ(kinds.mid(0, 3), (QList<K>{K::ScheduledStart, K::PassStarted, K::EmailStarted}));
    EXPECT_EQ(h.journal.events[0],
              (JournalEvent{.kind = K::ScheduledStart, .reason = QStringLiteral("no display"), .windowless = true}));
    EXPECT_EQ(h.journal.events[1].start, PassStart::Schedule);
    EXPECT_TRUE(h.journal.events[1].windowless);
    EXPECT_TRUE(kinds.contains(K::Autoclosed));
    EXPECT_EQ(kinds.count(K::EmailStarted), 2) << "the start and the end e-mail";
}

TEST(ScheduledStart, OnlyTheFirstAutostartOfAScheduledStartIsByTheSchedule)
{
    Harness h;
    h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
    h.start();
    // A pass begins with its first task.
    h.main().TASK_ENABLE_TICKBOX[1].setValue(1);
    h.main().TASK_CMD_TEXTBOX[1].setText(QStringLiteral("job"));
    applyStartOptions(*h.program, {true, false, QString()});
    EXPECT_EQ(h.main().AUTOCLOSE_TICKBOX.value(), 0) << "with its window, a start keeps its own AutoClose";
    h.seconds(15);
    h.main().MAIN_START_STOP_BUTTON.click(); // STOP
    h.main().MAIN_START_STOP_BUTTON.click(); // START, by hand
    h.main().AUTOSTART_START_BUTTON.click(); // the countdown again, by hand
    h.seconds(70);
    QList<PassStart> starts;
    for (const JournalEvent& e : h.journal.events)
        if (e.kind == K::PassStarted)
            starts << e.start;
    EXPECT_EQ(starts, (QList<PassStart>{PassStart::Schedule, PassStart::ByHand, PassStart::Autostart}));
    EXPECT_EQ(h.journal.events[0], (JournalEvent{.kind = K::ScheduledStart}));
}

// A copy started at boot runs only for the last planned minute that went by
// without a start; the pass then says so.
TEST(ScheduledStart, AStartAtBootCatchesUpOnlyAMissedMinute)
{
    // Times in December 2026 at +01:00, "08T02:00" for the 8th at 02:00.
    const QTimeZone zone(3600);
    const auto at = [](const char* day) {
        return QDateTime::fromString(QStringLiteral("2026-12-%1:00+01:00").arg(QLatin1String(day)), Qt::ISODate);
    };
    const struct {
        const char* what;
        schedule::CronSchedule when;
        const char* now;
        const char* journaled; // a start of this kind at that time; nullptr: none
        K kind;
        const char* since;
        const char* planned; // nullptr: nothing to catch up
    } cases[] = {
        {"missed tonight", {0, 2, 0}, "08T08:00", "07T02:01", K::PassStarted, "01T00:00", "2026-12-08 02:00"},
        {"ran tonight", {0, 2, 0}, "08T08:00", "08T02:01", K::PassStarted, "01T00:00", nullptr},
        {"tried tonight", {0, 2, 0}, "08T08:00", "08T02:01", K::ScheduledStartNotRun, "01T00:00", nullptr},
        {"made after the minute", {0, 2, 0}, "08T08:00", nullptr, K::PassStarted, "08T03:00", nullptr},
        {"Sunday after a silent Friday",
         {0, 2, schedule::kMondayToFriday},
         "13T08:00",
         "10T02:01",
         K::PassStarted,
         "01T00:00",
         "2026-12-11 02:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QStringList journal{c.journaled ? journalLine(at(c.journaled), {.kind = c.kind}) : QString()};
        const std::optional<QDateTime> planned = missedStart(journal, c.when, at(c.now), zone, at(c.since));
        EXPECT_EQ(planned ? caughtUpText(*planned, zone) : QString(),
                  c.planned ? QStringLiteral("caught up, planned for ") + QLatin1String(c.planned) : QString());
    }
    // Without a display and with AutoStart Timer clear, the journal and the
    // NOT RUN e-mail say which minute the start at boot was for.
    const StartPlan notRun =
        planStart(true, false, QStringLiteral("none is set"), QStringLiteral("zb"), caughtUpText(at("08T02:00"), zone));
    ASSERT_TRUE(notRun.record);
    EXPECT_EQ(notRun.record->reason, QStringLiteral("no display: none is set; AutoStart Timer is clear; started at "
                                                    "boot to catch up the start planned for 2026-12-08 02:00"));

    Harness h;
    h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
    h.start();
    applyStartOptions(*h.program, {.scheduled = true, .caughtUp = QStringLiteral("caught up, planned for 02:00")});
    h.seconds(35); // no slot runs: the pass is journaled as its chain ends
    EXPECT_EQ(h.journal.events.at(0).reason, QStringLiteral("caught up, planned for 02:00")) << "told at the start";
    const qsizetype found = h.journal.kinds().indexOf(K::PassStarted);
    ASSERT_GE(found, 0);
    const JournalEvent started = h.journal.events.at(found);
    EXPECT_EQ(passStartText(parseJournalLine(journalLine(at("08T08:00"), started))->event),
              QStringLiteral("By schedule, caught up, planned for 02:00"));
}

} // namespace
} // namespace zb
