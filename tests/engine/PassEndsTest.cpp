// How a pass ends, and what the lights, the last-run field and the journal
// say of it afterwards.
#include "EngineTestSupport.h"
#include "engine/JournalText.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::enableSlot;
using test::Harness;
using test::pauseSlot;
using K = JournalEvent::Kind;

const QDateTime kNow(QDate(2026, 12, 7), QTime(2, 30), Qt::OffsetFromUTC, 3600);

// Slot 1 launches at 1 s and hands over at 2 s; the chain ends at 21 s.
TEST(PassEnds, ALightTellsHowItsTaskEndedAfterTheChainHasMovedOn)
{
    const struct {
        const char* what;
        int endAtMs; // -1: never
        int exitCode;
        int signal;
        Colour atEnd; // once the chain has ended, at 22 s
        QString tipAtEnd;
        Colour later; // at 40 s
    } cases[] = {
        {"exit 0 before the hand-over", 1500, 0, 0, colour::Green, QString(), colour::Green},
        {"exit 3 during the hold", 1500, 3, 0, colour::Red, QStringLiteral("exited with 3"), colour::Red},
        {"exit 3 after the hand-over", 5000, 3, 0, colour::Red, QStringLiteral("exited with 3"), colour::Red},
        {"killed after the chain's end", 30000, 0, 9, colour::Cyan, QStringLiteral("still running, pid 1000"),
         colour::Red},
        {"exit 0 after the chain's end", 30000, 0, 0, colour::Cyan, QStringLiteral("still running, pid 1000"),
         colour::Green},
        {"still running", -1, 0, 0, colour::Cyan, QStringLiteral("still running, pid 1000"), colour::Cyan},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        MainWindowModel& m = h.start().main;
        enableSlot(m, 1, QStringLiteral("job"));
        m.MAIN_START_STOP_BUTTON.click();
        if (c.endAtMs >= 0 && c.endAtMs < 22000) {
            h.clock.advance(c.endAtMs);
            h.launcher.end(1000, c.exitCode, c.signal);
        }
        h.clock.advance(22000 - h.clock.now());
        EXPECT_TRUE(m.AUTOCLOSE_TIMER.enabled());
        EXPECT_EQ(m.TASK_LIGHT[1].background(), c.atEnd);
        EXPECT_EQ(m.TASK_LIGHT[1].toolTip(), c.tipAtEnd);
        if (c.endAtMs >= 22000) {
            h.clock.advance(c.endAtMs - h.clock.now());
            h.launcher.end(1000, c.exitCode, c.signal);
        }
        h.seconds(18);
        EXPECT_EQ(m.TASK_LIGHT[1].background(), c.later);
        if (c.signal != 0) {
            EXPECT_EQ(m.TASK_LIGHT[1].toolTip(), QStringLiteral("killed by signal 9"));
        }
    }
}

TEST(PassEnds, ClosingDuringAPassStoresItInterruptedAtTheSlotWhoseTurnItWas)
{
    const struct {
        const char* what;
        int closeAtMs;
        QString lastRun; // stored at the close
    } cases[] = {
        {"before slot 1's tick", 500, QStringLiteral("INTERRUPTED - TASK 1")},
        {"during slot 2's hold", 2500, QStringLiteral("INTERRUPTED - TASK 2")},
        {"slot 3 armed", 3500, QStringLiteral("INTERRUPTED - TASK 3")},
        {"during slot 4's wait", 30000, QStringLiteral("INTERRUPTED - TASK 4")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        h.seed(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
        h.seed(QStringLiteral("LAST_RUN_TIME"), QStringLiteral("2026-12-06T02:30:00+01:00"));
        Program& p = h.start();
        p.engine.recorder().wallClock = [] { return kNow; };
        enableSlot(p.main, 2, QStringLiteral("two"));
        pauseSlot(p.main, 4, QStringLiteral("four"), QStringLiteral("four"));
        h.processes.running[QStringLiteral("four")] = -1;
        p.main.MAIN_START_STOP_BUTTON.click();
        h.clock.advance(c.closeAtMs);
        p.main.close();
        EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), c.lastRun);
        EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN_TIME")), QStringLiteral("2026-12-07T02:30:00+01:00"));
        EXPECT_EQ(p.main.LAST_RUN_TEXTBOX.background(), colour::Red);
        EXPECT_TRUE(h.journal.kinds().contains(K::PassInterrupted));
    }
}

TEST(PassEnds, AStopOrACloseAfterTheChainsEndLeavesThePassCompleted)
{
    Harness h;
    h.seed(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
    h.seed(QStringLiteral("LAST_RUN_TIME"), QStringLiteral("2026-12-06T02:30:00+01:00"));
    MainWindowModel& m = h.start().main;
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(25);
    m.MAIN_START_STOP_BUTTON.click(); // STOP, after the end
    m.close();
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("COMPLETED SUCCESSFULLY"));
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN_TIME")), QStringLiteral("2026-12-06T02:30:00+01:00"));
    EXPECT_FALSE(h.journal.kinds().contains(K::PassStopped));
    EXPECT_FALSE(h.journal.kinds().contains(K::PassInterrupted));
}

TEST(PassEnds, ACountdownButtonsTextIsStoredWithItsOwnTime)
{
    Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    h.seed(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
    h.seed(QStringLiteral("LAST_RUN_TIME"), QStringLiteral("2026-12-06T02:30:00+01:00"));
    Program& p = h.start();
    p.engine.recorder().wallClock = [] { return kNow; };
    p.main.AUTOCLOSE_START_BUTTON.click();
    p.main.AUTOCLOSE_START_BUTTON.click();
    EXPECT_EQ(p.main.LAST_RUN_TEXTBOX.text(), QStringLiteral("AUTOCLOSE - MANUAL STOP"));
    EXPECT_TRUE(p.main.LAST_RUN_TEXTBOX.toolTip().startsWith(QStringLiteral("Set 2026-12-07 02:30:00")))
        << p.main.LAST_RUN_TEXTBOX.toolTip().toStdString();
    p.main.close();
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN_TIME")), QStringLiteral("2026-12-07T02:30:00+01:00"));
}

// The journal of the previous run, as the next start reads it.
QStringList journalOf(const QList<std::pair<int, JournalEvent>>& events)
{
    const QDateTime start(QDate(2026, 12, 7), QTime(2, 0), Qt::OffsetFromUTC, 3600);
    QStringList lines;
    for (const auto& [second, e] : events)
        lines << journalLine(start.addSecs(second), e);
    return lines;
}

TEST(PassEnds, TheNextStartFindsAPassThatEndedWithoutAWord)
{
    const JournalEvent started{.kind = K::PassStarted, .start = PassStart::Autostart};
    const struct {
        const char* what;
        QList<std::pair<int, JournalEvent>> journal;
        QString lastRun; // as shown after start-up
        QString tipPart;
    } cases[] = {
        {"killed before slot 1",
         {{0, started}},
         QStringLiteral("INTERRUPTED - TASK 1"),
         QStringLiteral("last seen running 2026-12-07 02:00:00")},
        {"killed after slot 3 was skipped",
         {{0, started}, {3, {.kind = K::TaskSkipped, .slot = 3}}},
         QStringLiteral("INTERRUPTED - TASK 4"),
         QStringLiteral("02:00:03")},
        {"killed during slot 5's wait",
         {{0, started}, {5, {.kind = K::TaskStarted, .slot = 5, .pid = 7}}, {6, {.kind = K::WaitBegan, .slot = 5}}},
         QStringLiteral("INTERRUPTED - TASK 5"),
         QStringLiteral("02:00:06")},
        {"closed by the autoclose",
         {{0, started}, {31, {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")}}},
         QStringLiteral("COMPLETED SUCCESSFULLY"),
         QStringLiteral("Last run ended")},
        {"closed, then its end e-mail failed",
         {{0, started},
          {31, {.kind = K::EmailStarted, .email = EmailBatch::End, .pid = 9}},
          {31, {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")}},
          {33, {.kind = K::EmailEnded, .email = EmailBatch::End, .pid = 9, .exitCode = 1}}},
         QStringLiteral("COMPLETED SUCCESSFULLY"),
         QStringLiteral("The end e-mail script exited with 1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        h.seed(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
        h.seed(QStringLiteral("LAST_RUN_TIME"), QStringLiteral("2026-12-07T02:00:31+01:00"));
        h.journal.lines = journalOf(c.journal);
        MainWindowModel& m = h.start().main;
        EXPECT_EQ(m.LAST_RUN_TEXTBOX.text(), c.lastRun);
        EXPECT_EQ(m.LAST_RUN_TEXTBOX.background(),
                  c.lastRun == QStringLiteral("COMPLETED SUCCESSFULLY") ? colour::Green : colour::Red);
        EXPECT_TRUE(m.LAST_RUN_TEXTBOX.toolTip().contains(c.tipPart)) << m.LAST_RUN_TEXTBOX.toolTip().toStdString();
        EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), c.lastRun);
        // Journaled once, so that the next start does not find it again.
        const bool interrupted = c.lastRun.startsWith(QStringLiteral("INTERRUPTED"));
        EXPECT_EQ(h.journal.kinds(), interrupted ? QList<K>{K::PassInterrupted} : QList<K>{});
    }
}

} // namespace
} // namespace zb
