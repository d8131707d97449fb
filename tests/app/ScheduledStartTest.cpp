// A start by cron, with its window or without, over the whole logic on
// fakes; tests/app/NoDisplayStartTest decides between them on the real
// program.
#include "app/ScheduledStart.h"
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

} // namespace
} // namespace zb
