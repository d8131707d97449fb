// How a pass ends, and what the lights, the last-run field and the journal
// say of it afterwards.
#include "EngineTestSupport.h"
#include "engine/JournalText.h"
#include "engine/PassAccount.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::enableSlot;
using test::Harness;
using K = JournalEvent::Kind;

const QDateTime kNow(QDate(2026, 12, 7), QTime(2, 30), Qt::OffsetFromUTC, 3600);

// Slot 1 launches at 1 s and hands over at 2 s; the chain ends at 21 s.
TEST(PassEnds, ALightTellsHowItsTaskEndedAfterTheChainHasMovedOn)
{
    const QString running = QStringLiteral("still running, pid 1000");
    const struct {
        const char* what;
        int endAtMs; // -1: never
        int exitCode;
        int signal;
        Colour atChainEnd;
        QString tip;
        Colour later; // at 40 s
    } cases[] = {
        {"exit 3 during the hold", 1500, 3, 0, colour::Red, QStringLiteral("exited with 3"), colour::Red},
        {"exit 0 during the hold", 1500, 0, 0, colour::Green, QString(), colour::Green},
        {"exit 3 after the hand-over", 5000, 3, 0, colour::Red, QStringLiteral("exited with 3"), colour::Red},
        {"killed after the chain's end", 30000, 0, 9, colour::Cyan, running, colour::Red},
        {"exit 0 after the chain's end", 30000, 0, 0, colour::Cyan, running, colour::Green},
        {"still running", -1, 0, 0, colour::Cyan, running, colour::Cyan},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        MainWindowModel& m = h.start().main;
        enableSlot(m, 1, QStringLiteral("job"));
        m.MAIN_START_STOP_BUTTON.click();
        for (const SimulatedClock::Ms at : {SimulatedClock::Ms{22000}, SimulatedClock::Ms{40000}}) {
            if (c.endAtMs >= h.clock.now() && c.endAtMs < at) {
                h.clock.advance(c.endAtMs - h.clock.now());
                h.launcher.end(1000, c.exitCode, c.signal);
            }
            h.clock.advance(at - h.clock.now());
            if (at == 22000) {
                EXPECT_EQ(m.TASK_LIGHT[1].background(), c.atChainEnd);
                EXPECT_EQ(m.TASK_LIGHT[1].toolTip(), c.tip);
            }
        }
        EXPECT_EQ(m.TASK_LIGHT[1].background(), c.later);
    }
}

// Slot 2 launches at 2 s and holds to 3 s; slot 4 waits from 6 s on.
TEST(PassEnds, ClosingDuringAPassStoresItInterruptedAtTheSlotWhoseTurnItWas)
{
    const struct {
        int closeAtMs;
        bool stopFirst;
        QString lastRun;
    } cases[] = {
        {500, true, QStringLiteral("COMPLETED SUCCESSFULLY")},
        {2500, false, QStringLiteral("INTERRUPTED - TASK 2")},
        {3500, false, QStringLiteral("INTERRUPTED - TASK 3")},
        {30000, false, QStringLiteral("INTERRUPTED - TASK 4")},
        {30000, true, QStringLiteral("STOPPED")}, // as History tells it; at 500 no task had started
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.closeAtMs);
        Harness h;
        h.seed(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
        h.seed(QStringLiteral("LAST_RUN_TIME"), QStringLiteral("2026-12-06T02:30:00+01:00"));
        Program& p = h.start();
        p.engine.recorder().wallClock = [] { return kNow; };
        enableSlot(p.main, 2, QStringLiteral("two"));
        test::pauseSlot(p.main, 4, QStringLiteral("four"), QStringLiteral("four"));
        h.processes.running[QStringLiteral("four")] = -1;
        p.main.MAIN_START_STOP_BUTTON.click();
        h.clock.advance(c.closeAtMs);
        if (c.stopFirst)
            p.main.MAIN_START_STOP_BUTTON.click();
        p.main.close();
        EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), c.lastRun);
        EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN_TIME")), c.closeAtMs < 1000
                                                                 ? QStringLiteral("2026-12-06T02:30:00+01:00")
                                                                 : QStringLiteral("2026-12-07T02:30:00+01:00"));
        EXPECT_EQ(h.journal.kinds().contains(K::PassInterrupted), c.lastRun.startsWith(QStringLiteral("INTERRUPTED")));
    }
}

TEST(PassEnds, ACountdownButtonLeavesTheLastRunAndItsTimeAlone)
{
    Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    h.seed(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
    h.seed(QStringLiteral("LAST_RUN_TIME"), QStringLiteral("2026-12-06T02:30:00+01:00"));
    Program& p = h.start();
    p.engine.recorder().wallClock = [] { return kNow; };
    p.main.AUTOCLOSE_START_BUTTON.click();
    p.main.AUTOCLOSE_START_BUTTON.click();
    p.main.close();
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("COMPLETED SUCCESSFULLY"));
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN_TIME")), QStringLiteral("2026-12-06T02:30:00+01:00"));
}

TEST(PassEnds, TheNextStartFindsAPassThatEndedWithoutAWord)
{
    const QDateTime night(QDate(2026, 12, 7), QTime(2, 0), Qt::OffsetFromUTC, 3600);
    const QString id = passIdFor(night, 4242);
    // A line `second`s into the night, of the pass.
    const auto at = [&](int second, const JournalEvent& e) { return journalLine(night.addSecs(second), e, id); };
    const QString started = at(0, {.kind = K::PassStarted});
    const QString before = QStringLiteral("2026-12-06T02:00:31+01:00");
    const QString afterStart = QStringLiteral("2026-12-07T02:00:31+01:00");
    const struct {
        const char* what;
        QStringList journal;
        QString storedAt; // when the last-run text in the settings file was stored
        QString lastRun;
        QString tipPart;
        QList<K> journaled;
    } cases[] = {
        {"killed after slot 3 was skipped",
         {started, at(3, {.kind = K::TaskSkipped, .slot = 3})},
         before,
         QStringLiteral("INTERRUPTED - TASK 4"),
         QStringLiteral("last seen running 2026-12-07 02:00:03"),
         {K::PassInterrupted}},
        {"killed during slot 5's wait, in an older journal",
         {journalLine(night, {.kind = K::PassStarted}),
          journalLine(night.addSecs(6), {.kind = K::WaitBegan, .slot = 5})},
         before,
         QStringLiteral("INTERRUPTED - TASK 5"),
         QStringLiteral("02:00:06"),
         {K::PassInterrupted}},
        {"killed after its chain ended, while slot 2's task ran",
         {started, at(1, {.kind = K::TaskStarted, .slot = 2, .pid = 7}), at(20, {.kind = K::ChainEnded})},
         before,
         QStringLiteral("INTERRUPTED - TASK 2"),
         QStringLiteral("02:00:20"),
         {K::PassInterrupted}},
        // A full disk took its end's lines; the settings file kept its result.
        {"its end not journaled",
         {started, at(3, {.kind = K::TaskSkipped, .slot = 20})},
         afterStart,
         QStringLiteral("COMPLETED SUCCESSFULLY"),
         QStringLiteral("02:00:31"),
         {K::PassEndFound}},
        {"closed, then its end e-mail failed",
         {started, at(31, {.kind = K::EmailStarted, .email = EmailBatch::End, .pid = 9}),
          at(31, {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")}),
          at(33, {.kind = K::EmailEnded, .email = EmailBatch::End, .pid = 9, .exitCode = 1})},
         afterStart,
         QStringLiteral("COMPLETED SUCCESSFULLY"),
         QStringLiteral("The end e-mail script exited with 1"),
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        h.seed(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
        h.seed(QStringLiteral("LAST_RUN_TIME"), c.storedAt);
        h.journal.lines = c.journal;
        const MainWindowModel& m = h.start().main;
        EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), c.lastRun);
        EXPECT_EQ(m.LAST_RUN_TEXTBOX.background(), c.lastRun.startsWith(u'I') ? colour::Red : colour::Green);
        EXPECT_TRUE(m.LAST_RUN_TEXTBOX.toolTip().contains(c.tipPart)) << m.LAST_RUN_TEXTBOX.toolTip().toStdString();
        // Journaled once, for the pass it tells of, so that the next start does not find it again.
        EXPECT_EQ(h.journal.kinds(), c.journaled);
        for (const QString& pass : h.journal.passes)
            EXPECT_EQ(pass, c.journal.first() == started ? id : QString());
    }
}

} // namespace
} // namespace zb
