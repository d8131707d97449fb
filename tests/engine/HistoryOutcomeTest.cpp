// What History, the end e-mail and --last make of a pass's events.
#include "app/LastPass.h"
#include "engine/HistoryText.h"
#include "engine/JournalText.h"
#include "engine/PassReport.h"
#include "platform/fake/RecordingJournal.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using K = JournalEvent::Kind;

const QDateTime kAt(QDate(2026, 12, 7), QTime(2, 0), Qt::OffsetFromUTC, 3600);

QStringList linesOf(const QList<std::pair<int, JournalEvent>>& events)
{
    QStringList lines;
    for (const auto& [second, e] : events)
        lines << journalLine(kAt.addSecs(second), e);
    return lines;
}

const JournalEvent kStart{.kind = K::PassStarted, .start = PassStart::Autostart};
const JournalEvent kChainEnded{.kind = K::ChainEnded};

TEST(HistoryOutcome, APassesResultFollowsHowItEnded)
{
    const struct {
        const char* what;
        QList<std::pair<int, JournalEvent>> events;
        bool runsNow;
        QString result;
        QString took;
    } cases[] = {
        {"chain ended cleanly",
         {{0, kStart}, {20, kChainEnded}},
         false,
         QStringLiteral("COMPLETED SUCCESSFULLY"),
         QStringLiteral("0:00:20")},
        {"a task exited 3",
         {{0, kStart},
          {1, {.kind = K::TaskStarted, .slot = 2, .pid = 5}},
          {3, {.kind = K::TaskExited, .slot = 2, .pid = 5, .exitCode = 3}},
          {20, kChainEnded}},
         false,
         QStringLiteral("COMPLETED WITH ERRORS - TASK 2 EXITED WITH 3"),
         QStringLiteral("0:00:20")},
        {"stopped after the chain's end",
         {{0, kStart}, {20, kChainEnded}, {30, {.kind = K::PassStopped}}},
         false,
         QStringLiteral("COMPLETED SUCCESSFULLY"),
         QStringLiteral("0:00:30")},
        {"stopped on the way",
         {{0, kStart}, {1, {.kind = K::TaskSkipped, .slot = 1}}, {2, {.kind = K::PassStopped}}},
         false,
         QStringLiteral("STOPPED"),
         QStringLiteral("0:00:02")},
        {"no end, nothing runs it",
         {{0, kStart}, {2, {.kind = K::TaskSkipped, .slot = 2}}},
         false,
         QStringLiteral("INTERRUPTED - TASK 3"),
         QStringLiteral("0:00:02")},
        {"no end, its program runs it",
         {{0, kStart}, {2, {.kind = K::TaskSkipped, .slot = 2}}},
         true,
         QStringLiteral("RUNNING"),
         QStringLiteral("0:00:02")},
        {"found at the next start",
         {{0, kStart},
          {2, {.kind = K::TaskSkipped, .slot = 2}},
          {9000, {.kind = K::PassInterrupted, .slot = 3, .reason = QStringLiteral("found at start")}}},
         false,
         QStringLiteral("INTERRUPTED - TASK 3"),
         QStringLiteral("0:00:02")},
        {"closed during slot 7",
         {{0, kStart}, {60, {.kind = K::PassInterrupted, .slot = 7, .reason = QStringLiteral("closed")}}},
         false,
         QStringLiteral("INTERRUPTED - TASK 7"),
         QStringLiteral("0:01:00")},
        {"the start e-mail failed",
         {{0, kStart},
          {0, {.kind = K::EmailStarted, .email = EmailBatch::Start, .pid = 9}},
          {4, {.kind = K::EmailEnded, .email = EmailBatch::Start, .pid = 9, .exitCode = 1}},
          {20, kChainEnded}},
         false,
         QStringLiteral("COMPLETED WITH ERRORS - START EMAIL FAILED"),
         QStringLiteral("0:00:20")},
        {"its end e-mail failed after the autoclose",
         {{0, kStart},
          {31, {.kind = K::EmailStarted, .email = EmailBatch::End, .pid = 9}},
          {31, {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")}},
          {35, {.kind = K::EmailEnded, .email = EmailBatch::End, .pid = 9, .signal = 9}}},
         false,
         QStringLiteral("COMPLETED SUCCESSFULLY; end e-mail script was killed by signal 9"),
         QStringLiteral("0:00:35")},
        {"the end of a task no pass in view started",
         {{0, kStart}, {3, {.kind = K::TaskExited, .slot = 2, .pid = 404, .exitCode = 3}}, {20, kChainEnded}},
         false,
         QStringLiteral("COMPLETED SUCCESSFULLY"),
         QStringLiteral("0:00:20")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QList<HistoryPass> passes = historyFromJournal(linesOf(c.events), c.runsNow);
        ASSERT_EQ(passes.size(), 1);
        EXPECT_EQ(passes[0].result, c.result);
        EXPECT_EQ(passes[0].took, c.took);
    }
}

TEST(HistoryOutcome, TheReportGivesThePassAndTheLastLinesOfEachTaskThatEndedBadly)
{
    const QList<HistoryPass> passes = historyFromJournal(linesOf({
        {0, kStart},
        {1, {.kind = K::TaskStarted, .slot = 1, .pid = 5, .file = QStringLiteral("/o/1.log")}},
        {2, {.kind = K::TaskStarted, .slot = 2, .pid = 6, .file = QStringLiteral("/o/2.log")}},
        {3, {.kind = K::WaitBegan, .slot = 2, .name = QStringLiteral("x")}},
        {9, {.kind = K::TaskExited, .slot = 2, .pid = 6, .signal = 9, .runMs = 7000}},
        {10, {.kind = K::WaitEnded, .slot = 2, .seconds = 7}},
        {11, {.kind = K::TaskFailed, .slot = 3, .reason = QStringLiteral("no such program: nothere")}},
        {12, {.kind = K::TaskExited, .slot = 1, .pid = 5, .exitCode = 0, .runMs = 11000}},
        {13, {.kind = K::TaskSkipped, .slot = 4}},
        {14, {.kind = K::TaskSkipped, .slot = 5}},
        {15, {.kind = K::TaskSkipped, .slot = 6}},
        {16, {.kind = K::TaskStarted, .slot = 7, .pid = 8}},
        {17, {.kind = K::TaskSkipped, .slot = 8}},
        {30, {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED WITH ERRORS - TASK 2 EXITED WITH SIGNAL 9")}},
    }));
    ASSERT_EQ(passes.size(), 1);
    QStringList asked;
    const QString report = passReportText(QStringLiteral("SUBJECT"), passes[0], [&](const QString& file, qint64 bytes) {
        asked << file;
        EXPECT_GE(bytes, 64 * 1024);
        QByteArray out = "half a line\n";
        for (int i = 1; i <= 25; ++i)
            out += "out " + QByteArray::number(i) + (i == 25 ? "\r\n" : "\n");
        return out;
    });
    EXPECT_EQ(asked, QStringList{QStringLiteral("/o/2.log")}) << "only the task that ended badly, and had output";
    QString expected = QStringLiteral("SUBJECT\n\n"
                                      "Started    2026-12-07 02:00:00 UTC+01:00\n"
                                      "How        Autostart\n"
                                      "Took       0:00:30\n"
                                      "Result     COMPLETED WITH ERRORS - TASK 2 EXITED WITH SIGNAL 9\n"
                                      "TASK 1     exited with 0 after 0:00:11\n"
                                      "TASK 2     ended by signal 9 after 0:00:07; waited 7 s\n"
                                      "TASK 3     failed to start: no such program: nothere\n"
                                      "TASK 4-6   skipped\n"
                                      "TASK 7     started, pid 8\n"
                                      "TASK 8     skipped\n"
                                      "\nTASK 2, last lines of its output (/o/2.log):\n");
    for (int i = 6; i <= 25; ++i)
        expected += QStringLiteral("out %1\n").arg(i);
    EXPECT_EQ(report, expected);
    EXPECT_EQ(endEmailSubjectFor(QStringLiteral("nightly"), true), QStringLiteral("ZB-SEQUENTA - nightly - COMPLETED"));
    EXPECT_EQ(endEmailSubjectFor(QStringLiteral("nightly"), false),
              QStringLiteral("ZB-SEQUENTA - nightly - COMPLETED WITH ERRORS"));
}

TEST(HistoryOutcome, LastTellsTheNewestPassAndExitsByItsResult)
{
    struct Journal : RecordingJournal {
        QString file;
        QString journalFile() const override { return file; }
    };
    const struct {
        const char* what;
        QString file;
        QList<std::pair<int, JournalEvent>> events;
        bool copyRuns;
        int status;
        QString firstLine;
    } cases[] = {
        {"no journal kept", QString(), {}, false, 3, QStringLiteral("This copy keeps no journal.")},
        {"no pass yet",
         QStringLiteral("/s/x-runs.log"),
         {},
         false,
         3,
         QStringLiteral("No passes yet in /s/x-runs.log")},
        {"completed",
         QStringLiteral("/s/x-runs.log"),
         {{0, {.kind = K::PassStarted}},
          {1, {.kind = K::PassStopped}},
          {50, kStart},
          {80, {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")}}},
         false,
         0,
         QStringLiteral("Result     COMPLETED SUCCESSFULLY")},
        {"with errors",
         QStringLiteral("/s/x-runs.log"),
         {{0, kStart}, {9, {.kind = K::TaskFailed, .slot = 3}}, {20, kChainEnded}},
         false,
         1,
         QStringLiteral("Result     COMPLETED WITH ERRORS - TASK 3 FAILED TO START")},
        {"running now", QStringLiteral("/s/x-runs.log"), {{0, kStart}}, true, 1, QStringLiteral("Result     RUNNING")},
        {"cut short",
         QStringLiteral("/s/x-runs.log"),
         {{0, kStart}},
         false,
         1,
         QStringLiteral("Result     INTERRUPTED - TASK 1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Journal journal;
        journal.file = c.file;
        journal.lines = linesOf(c.events);
        const LastPassCheck check = lastPassCheck(journal, c.copyRuns);
        EXPECT_EQ(check.exitStatus, c.status);
        EXPECT_TRUE(check.output.contains(c.firstLine + QLatin1Char('\n'))) << check.output.toStdString();
        if (!c.events.isEmpty()) {
            EXPECT_EQ(check.output, historyPassText(historyFromJournal(journal.lines, c.copyRuns).first()));
        }
    }
}

} // namespace
} // namespace zb
