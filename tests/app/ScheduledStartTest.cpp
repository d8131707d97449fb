// A start by cron: what happens without a display, and how its passes are
// journaled, over the whole logic on fakes.
#include "app/ScheduledStart.h"
#include "tests/support/Harness.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using K = JournalEvent::Kind;
using test::Harness;

TEST(ScheduledStart, OnlyAScheduledStartWithTheAutostartRunsWithoutADisplay)
{
    const QString problem = QStringLiteral("the display :0 does not answer");
    const struct {
        bool scheduled;
        bool autostart;
        QString noDisplay;
        StartMode mode;
        const char* says;     // a part of what goes to stderr; "" nothing
        const char* journals; // the reason journaled; "" nothing
    } cases[] = {
        {true, true, QString(), StartMode::Window, "", ""},
        {false, false, QString(), StartMode::Window, "", ""},
        {true, true, problem, StartMode::Windowless,
         "nightly: no display: the display :0 does not answer; started by the schedule with AutoStart Timer ticked, "
         "it runs its chain without a window and closes after it\n",
         ""},
        {true, false, problem, StartMode::NotRun, "nightly: needs a display to open its window, and the display :0",
         "no display: the display :0 does not answer; AutoStart Timer is clear"},
        {false, true, problem, StartMode::NotRun, "set QT_QPA_PLATFORM=offscreen\n", ""},
        {false, false, problem, StartMode::NotRun, "nightly: needs a display", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.scheduled << c.autostart << c.noDisplay.toStdString());
        const StartPlan plan = planStart(c.scheduled, c.autostart, c.noDisplay, QStringLiteral("nightly"));
        EXPECT_EQ(plan.mode, c.mode);
        EXPECT_EQ(plan.stderrText.isEmpty(), *c.says == 0);
        EXPECT_TRUE(plan.stderrText.contains(QString::fromUtf8(c.says))) << plan.stderrText.toStdString();
        EXPECT_EQ(plan.stderrText.count(QLatin1Char('\n')), *c.says == 0 ? 0 : 1) << "one line";
        ASSERT_EQ(plan.record.has_value(), *c.journals != 0);
        if (plan.record) {
            EXPECT_EQ(plan.record->kind, K::ScheduledStartNotRun);
            EXPECT_EQ(plan.record->reason, QString::fromUtf8(c.journals));
        }
    }
}

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
    ASSERT_GE(kinds.size(), 3);
    EXPECT_EQ(kinds.mid(0, 3), (QList<K>{K::ScheduledStart, K::PassStarted, K::EmailStarted}));
    EXPECT_EQ(h.journal.events[0],
              (JournalEvent{.kind = K::ScheduledStart, .reason = QStringLiteral("no display"), .windowless = true}));
    EXPECT_EQ(h.journal.events[1].start, PassStart::Schedule);
    EXPECT_TRUE(h.journal.events[1].windowless);
    EXPECT_TRUE(kinds.contains(K::Autoclosed));
    int emails = 0;
    for (const JournalEvent& e : h.journal.events)
        emails += e.kind == K::EmailStarted ? 1 : 0;
    EXPECT_EQ(emails, 2);
}

TEST(ScheduledStart, OnlyTheFirstAutostartOfAScheduledStartIsByTheSchedule)
{
    Harness h;
    h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
    h.start();
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
