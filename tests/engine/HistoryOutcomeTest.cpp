// What History, the end e-mail and --last make of a pass's events.
#include "engine/HistoryWindowModel.h"
#include "engine/JournalText.h"
#include "engine/PassOutcome.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using K = JournalEvent::Kind;
using Events = QList<std::pair<int, JournalEvent>>;

QStringList linesOf(const Events& events)
{
    const QDateTime at(QDate(2026, 12, 7), QTime(2, 0), Qt::OffsetFromUTC, 3600);
    QStringList lines;
    for (const auto& [second, e] : events)
        lines << journalLine(at.addSecs(second), e);
    return lines;
}

const std::pair<int, JournalEvent> kStart{0, {.kind = K::PassStarted, .start = PassStart::Autostart}};
const std::pair<int, JournalEvent> kChainEnded{20, {.kind = K::ChainEnded}};

TEST(HistoryOutcome, APassesResultFollowsHowItEnded)
{
    const JournalEvent skipped2{.kind = K::TaskSkipped, .slot = 2};
    const struct {
        const char* what;
        Events events;
        QString result;
        QString took;
    } cases[] = {
        {"a task exited 3",
         {kStart,
          {1, {.kind = K::TaskStarted, .slot = 2, .pid = 5}},
          {3, {.kind = K::TaskExited, .slot = 2, .pid = 5, .exitCode = 3}},
          kChainEnded},
         QStringLiteral("COMPLETED WITH ERRORS - TASK 2 EXITED WITH 3"),
         QStringLiteral("0:00:20")},
        {"stopped after the chain's end",
         {kStart, kChainEnded, {30, {.kind = K::PassStopped}}},
         QStringLiteral("COMPLETED SUCCESSFULLY"),
         QStringLiteral("0:00:30")},
        {"found at the next start",
         {kStart, {2, skipped2}, {9000, {.kind = K::PassInterrupted, .slot = 3, .reason = kInterruptionFoundAtStart}}},
         QStringLiteral("INTERRUPTED - TASK 3"),
         QStringLiteral("0:00:02")},
        {"the start e-mail failed",
         {kStart,
          {0, {.kind = K::EmailStarted, .pid = 9}},
          {4, {.kind = K::EmailEnded, .pid = 9, .exitCode = 1}},
          kChainEnded},
         QStringLiteral("COMPLETED WITH ERRORS - START EMAIL FAILED"),
         QStringLiteral("0:00:20")},
        {"its end e-mail failed after the autoclose",
         {kStart,
          {31, {.kind = K::EmailStarted, .email = EmailBatch::End, .pid = 9}},
          {31, {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")}},
          {35, {.kind = K::EmailEnded, .email = EmailBatch::End, .pid = 9, .signal = 9}}},
         QStringLiteral("COMPLETED SUCCESSFULLY; end e-mail script was killed by signal 9"),
         QStringLiteral("0:00:35")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QList<HistoryPass> passes = historyFromJournal(linesOf(c.events));
        ASSERT_EQ(passes.size(), 1);
        EXPECT_EQ(passes[0].result, c.result);
        EXPECT_EQ(passes[0].took, c.took);
    }
}

TEST(HistoryOutcome, ScheduledStartsBesideAPassLeaveItsStateAlone)
{
    const std::pair<int, JournalEvent> cronAgain{9000, {.kind = K::ScheduledStart}};
    // A start by cron turned away while the pass runs: the pass still runs.
    QList<HistoryPass> passes =
        historyFromJournal(linesOf({kStart,
                                    {5,
                                     {.kind = K::ScheduledStartNotRun,
                                      .reason = QStringLiteral("another copy of the same name was running")}}}),
                           true);
    ASSERT_EQ(passes.size(), 2);
    EXPECT_TRUE(passes[0].notRun);
    EXPECT_EQ(passes[1].result, kPassRunning);
    // The next start by cron finds the pass cut short and says so once: the
    // word belongs to that pass, which has then ended.
    passes = historyFromJournal(linesOf(
        {kStart, cronAgain, {9001, {.kind = K::PassInterrupted, .slot = 1, .reason = kInterruptionFoundAtStart}}}));
    ASSERT_EQ(passes.size(), 1);
    EXPECT_TRUE(passes[0].ended);
    EXPECT_EQ(passes[0].result, QStringLiteral("INTERRUPTED - TASK 1"));
}

} // namespace
} // namespace zb
