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

// Each pass as one line, newest first; "open" and "not run" are the flags the
// next start reads to decide whether the last pass still needs a word.
QStringList told(const QList<HistoryPass>& passes)
{
    QStringList out;
    for (const HistoryPass& p : passes)
        out << QStringLiteral("%1 | %2 | %3%4%5")
                   .arg(p.how, p.took, p.result, p.ended ? QString() : QStringLiteral(" (open)"),
                        p.notRun ? QStringLiteral(" (not run)") : QString());
    return out;
}

TEST(HistoryOutcome, APassesResultFollowsHowItEnded)
{
    const std::pair<int, JournalEvent> start{0, {.kind = K::PassStarted, .start = PassStart::Autostart}};
    const std::pair<int, JournalEvent> chainEnded{20, {.kind = K::ChainEnded}};
    const std::pair<int, JournalEvent> foundAtStart{
        9000, {.kind = K::PassInterrupted, .slot = 3, .reason = kInterruptionFoundAtStart}};
    const QString otherCopy = QStringLiteral("another copy of the same name was running");
    const JournalEvent notRun{.kind = K::ScheduledStartNotRun, .reason = otherCopy};
    const struct {
        const char* what;
        Events events;
        bool runsNow;
        QStringList passes;
    } cases[] = {
        {"a task exited 3",
         {start,
          {1, {.kind = K::TaskStarted, .slot = 2, .pid = 5}},
          {3, {.kind = K::TaskExited, .slot = 2, .pid = 5, .exitCode = 3}},
          chainEnded},
         false,
         {QStringLiteral("Autostart | 0:00:20 | COMPLETED WITH ERRORS - TASK 2 EXITED WITH 3")}},
        {"stopped after the chain's end",
         {start, chainEnded, {30, {.kind = K::PassStopped}}},
         false,
         {QStringLiteral("Autostart | 0:00:30 | COMPLETED SUCCESSFULLY")}},
        {"found at the next start",
         {start, {2, {.kind = K::TaskSkipped, .slot = 2}}, foundAtStart},
         false,
         {QStringLiteral("Autostart | 0:00:02 | INTERRUPTED - TASK 3")}},
        // The word belongs to the pass before the new start, which has then ended.
        {"found at the next start by cron",
         {start, {8999, {.kind = K::ScheduledStart}}, foundAtStart},
         false,
         {QStringLiteral("Autostart | 0:00:00 | INTERRUPTED - TASK 3")}},
        {"the start e-mail failed",
         {start,
          {0, {.kind = K::EmailStarted, .pid = 9}},
          {4, {.kind = K::EmailEnded, .pid = 9, .exitCode = 1}},
          chainEnded},
         false,
         {QStringLiteral("Autostart | 0:00:20 | COMPLETED WITH ERRORS - START EMAIL FAILED")}},
        {"its end e-mail failed after the autoclose",
         {start,
          {31, {.kind = K::EmailStarted, .email = EmailBatch::End, .pid = 9}},
          {31, {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")}},
          {35, {.kind = K::EmailEnded, .email = EmailBatch::End, .pid = 9, .signal = 9}}},
         false,
         {QStringLiteral("Autostart | 0:00:35 | COMPLETED SUCCESSFULLY; end e-mail script was killed by signal 9")}},
        // A start by cron turned away while the pass runs: the pass still runs.
        {"turned away beside a running pass",
         {start, {5, notRun}},
         true,
         {QStringLiteral("By schedule | 0:00:00 | NOT RUN: ") + otherCopy + QStringLiteral(" (not run)"),
          QStringLiteral("Autostart | 0:00:00 | RUNNING (open)")}},
        // The pass keeps its own events past the start that did not run.
        {"by the schedule, with a window and without",
         {{0, {.kind = K::ScheduledStart}},
          {11, {.kind = K::PassStarted, .start = PassStart::Schedule}},
          {12, {.kind = K::TaskStarted, .slot = 1, .pid = 10}},
          {60, notRun},
          {70, {.kind = K::TaskExited, .slot = 1, .pid = 10}},
          {80, {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")}},
          {86400, {.kind = K::ScheduledStart, .reason = QStringLiteral("no display"), .windowless = true}},
          {86411, {.kind = K::PassStarted, .start = PassStart::Schedule, .windowless = true}}},
         false,
         {QStringLiteral("By schedule, without a window | 0:00:00 | INTERRUPTED - TASK 1 (open)"),
          QStringLiteral("By schedule | 0:00:00 | NOT RUN: ") + otherCopy + QStringLiteral(" (not run)"),
          QStringLiteral("By schedule | 0:01:09 | COMPLETED SUCCESSFULLY")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(told(historyFromJournal(linesOf(c.events), c.runsNow)), c.passes);
    }
}

} // namespace
} // namespace zb
