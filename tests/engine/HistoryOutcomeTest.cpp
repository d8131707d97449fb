// What History, the end e-mail, --last and the next start make of a pass's events.
#include "engine/JournalText.h"
#include "engine/PassAccount.h"
#include "engine/PassOutcome.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using K = JournalEvent::Kind;
using namespace Qt::StringLiterals;
const QDateTime kNight(QDate(2026, 12, 7), QTime(2, 0), Qt::OffsetFromUTC, 3600);

// A line `second`s into the night, of the pass begun `pass` seconds into it
// by pid 40, or of none (an older journal) when `pass` is negative.
struct Line {
    int second;
    JournalEvent event;
    int pass = -1;
};
using Events = QList<Line>;

QString idOf(int pass) { return pass < 0 ? QString() : passIdFor(kNight.addSecs(pass), 40); }

QStringList linesOf(const Events& events)
{
    QStringList lines;
    for (const Line& l : events)
        lines << journalLine(kNight.addSecs(l.second), l.event, idOf(l.pass));
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

// Rotated halfway, with a line cut by a crash at the seam, and read from the
// end back a line at a time.
struct RotatedJournal : NullRunJournal {
    QStringList older, current;
    explicit RotatedJournal(const QStringList& lines)
        : older(lines.first(lines.size() / 2)),
          current(lines.sliced(lines.size() / 2))
    {
        older << QStringLiteral("2026-12-07T02:30:05+01:00 task-started task=\"cut");
    }
    void readBackward(const LineBatches& take) const override
    {
        for (const QStringList* file : {&current, &older})
            for (qsizetype i = file->size() - 1; i >= 0; --i)
                if (!take({(*file)[i]}))
                    return;
    }
};

TEST(PassAccount, APassesResultFollowsHowItEnded)
{
    const Line start{0, {.kind = K::PassStarted, .start = PassStart::Autostart}};
    const Line chainEnded{20, {.kind = K::ChainEnded}};
    const QString completed = QStringLiteral("COMPLETED SUCCESSFULLY");
    const JournalEvent byHand{.kind = K::PassStarted}, ended{.kind = K::ChainEnded};
    const JournalEvent endFound{.kind = K::PassEndFound, .reason = completed};
    const Line foundAtStart{9000, {.kind = K::PassInterrupted, .slot = 3, .reason = kInterruptionFoundAtStart}};
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
         {QStringLiteral("Autostart | 0:00:20 | COMPLETED SUCCESSFULLY")}},
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
         {QStringLiteral("Autostart | 0:00:31 | COMPLETED SUCCESSFULLY; end e-mail script was killed by signal 9")}},
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
        // Lines that name their pass go to it, whatever came between.
        {"two copies' passes interleaved",
         {{0, byHand, 0},
          {5, {.kind = K::PassStarted, .start = PassStart::Autostart}, 5},
          {6, {.kind = K::TaskStarted, .slot = 1, .pid = 5}, 0},
          {8, {.kind = K::WaitEnded, .slot = 1, .seconds = 2}, 0},
          {10, ended, 5},
          {12, {.kind = K::TaskExited, .slot = 1, .pid = 5, .exitCode = 3}, 0},
          {20, ended, 0},
          {21, {.kind = K::Autoclosed, .reason = completed}, 5}},
         false,
         {u"Autostart | 0:00:05 | COMPLETED SUCCESSFULLY"_s,
          u"By hand | 0:00:20 | COMPLETED WITH ERRORS - TASK 1 EXITED WITH 3"_s}},
        {"its start line lost to a full disk",
         {{0, byHand, 0},
          {20, ended, 0},
          {40, {.kind = K::TaskStarted, .slot = 2, .pid = 6}, 30},
          {45, {.kind = K::TaskExited, .slot = 2, .pid = 6}, 30},
          {50, ended, 30}},
         false,
         {u"Unknown | 0:00:20 | COMPLETED SUCCESSFULLY"_s, u"By hand | 0:00:20 | COMPLETED SUCCESSFULLY"_s}},
        {"its chain ended while its task runs",
         {{0, byHand, 0}, {1, {.kind = K::TaskStarted, .slot = 2, .pid = 6}, 0}, {20, ended, 0}},
         true,
         {u"By hand | 0:00:20 | RUNNING (open)"_s}},
        // The next start found the result stored by the settings file.
        {"its end lost, found stored at the next start",
         {{0, byHand, 0}, {3, {.kind = K::TaskSkipped, .slot = 20}, 0}, {9000, endFound, 0}},
         false,
         {u"By hand | 0:00:03 | COMPLETED SUCCESSFULLY"_s}},
        // The tail of an older pass, whose start is not in view, is no pass.
        {"an older pass's task ends during the next",
         {{90, ended, 0},
          {100, byHand, 100},
          {105, {.kind = K::TaskExited, .slot = 1, .pid = 5, .signal = 9}, 0},
          {120, ended, 100}},
         false,
         {u"By hand | 0:00:20 | COMPLETED SUCCESSFULLY"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(told(historyFromJournal(linesOf(c.events), c.runsNow)), c.passes);
        // Read from the end back, a line at a time, the newest pass is the same.
        PassAccount back;
        const QStringList lines = linesOf(c.events);
        for (qsizetype i = lines.size() - 1; i >= 0 && !back.holdsAPassStart(); --i)
            back.addEarlier({lines[i]});
        EXPECT_EQ(told(back.passes(c.runsNow)).value(0), c.passes.value(0));
        // A page from the end holds the newest passes whole, as read in full.
        const RotatedJournal rotated(lines);
        for (int count = 1; count <= c.passes.size() + 1; ++count) {
            const PassPage page = newestPasses(rotated, count, c.runsNow);
            EXPECT_EQ(told(page.passes), c.passes.first(page.passes.size())) << count;
            // At least `count` passes where there are; older ones may be left only where a page could
            // not hold them all, and must be where it did not.
            EXPECT_TRUE(page.passes.size() >= std::min<qsizetype>(count, c.passes.size()) &&
                        (page.olderLeft ? count <= c.passes.size() : page.passes.size() == c.passes.size()))
                << count << ": " << page.passes.size() << " passes, older left " << page.olderLeft;
        }
    }
}

} // namespace
} // namespace zb
