#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;
using test::StatusLog;

const QString kStartBatch = QStringLiteral("/opt/zb/BATS/zb-sequenta-START-EMAIL.sh");
const QString kEndBatch = QStringLiteral("/opt/zb/BATS/zb-sequenta-END-EMAIL.sh");

enum class BatchFile { Present, Missing, Failing };

void prepareBatch(Harness& h, const QString& path, BatchFile state)
{
    if (state != BatchFile::Missing)
        h.files.present.insert(path);
    if (state == BatchFile::Failing)
        h.launcher.failing.insert(QStringLiteral("/bin/sh ") + path);
}

TEST(RunControl, StartRunFromAutostartWritesItsStepsAndArmsSlotOne)
{
    const struct {
        bool startEmail;
        BatchFile file;
        QStringList texts;
        int launches;
    } cases[] = {
        {false,
         BatchFile::Present,
         {QStringLiteral("STARTING RUNTIME TIMER!!!"), QStringLiteral("SKIPPING START EMAIL")},
         0},
        {true,
         BatchFile::Present,
         {QStringLiteral("STARTING RUNTIME TIMER!!!"), QStringLiteral("SENDING START EMAIL")},
         1},
        {true,
         BatchFile::Missing,
         {QStringLiteral("STARTING RUNTIME TIMER!!!"), QStringLiteral("SENDING START EMAIL"),
          QStringLiteral("START EMAIL BATCH FILE NOT FOUND")},
         0},
        {true,
         BatchFile::Failing,
         {QStringLiteral("STARTING RUNTIME TIMER!!!"), QStringLiteral("SENDING START EMAIL"),
          QStringLiteral("START EMAIL BATCH FILE FAILED TO START")},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.texts.last().toStdString());
        Harness h;
        Program& p = h.start();
        p.main.START_EMAIL_TICKBOX.setValue(c.startEmail ? 1 : 0);
        prepareBatch(h, kStartBatch, c.file);
        p.main.TASK_ENABLE_TICKBOX[1].setValue(1);
        StatusLog log(h);
        p.engine.run().StartRunFromAutostart();
        EXPECT_TRUE(h.launcher.calls.isEmpty()) << "the start e-mail goes with the first task";
        h.seconds(1);

        EXPECT_EQ(log.texts().mid(0, c.texts.size()), c.texts);
        ASSERT_EQ(h.launcher.calls.size(), c.launches + 1);
        if (c.launches > 0) {
            EXPECT_EQ(h.launcher.calls[0].argv, (QStringList{QStringLiteral("/bin/sh"), kStartBatch}));
            EXPECT_EQ(h.launcher.calls[0].style, WindowStyle::Hidden);
        }
        EXPECT_TRUE(p.main.RUNTIME_TIMER.enabled());
        EXPECT_TRUE(p.main.TASK_MAIN_TIMER[1].enabled());
        EXPECT_EQ(p.main.MAIN_START_STOP_BUTTON.caption(), QStringLiteral("STOP"));
    }
}

TEST(RunControl, FinishRunAndCloseStoresTheLastRunAndClosesWhateverBecameOfTheEmail)
{
    const QString success = QStringLiteral("COMPLETED SUCCESSFULLY");
    const QString notSent = QStringLiteral("COMPLETED WITH ERRORS - END EMAIL NOT SENT");
    const struct {
        bool endEmail;
        BatchFile file;
        QStringList texts;
        int launches;
        QString lastRun;
    } cases[] = {
        {false,
         BatchFile::Present,
         {QStringLiteral("SKIPPING END EMAIL"), QStringLiteral("!!! AUTOCLOSING !!!")},
         0,
         success},
        {true,
         BatchFile::Present,
         {QStringLiteral("SENDING END EMAIL"), QStringLiteral("!!! AUTOCLOSING !!!")},
         1,
         success},
        {true,
         BatchFile::Missing,
         {QStringLiteral("SENDING END EMAIL"), QStringLiteral("END EMAIL BATCH FILE NOT FOUND"),
          QStringLiteral("!!! AUTOCLOSING !!!")},
         0,
         notSent},
        {true,
         BatchFile::Failing,
         {QStringLiteral("SENDING END EMAIL"), QStringLiteral("END EMAIL BATCH FILE FAILED TO START"),
          QStringLiteral("!!! AUTOCLOSING !!!")},
         1,
         notSent},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.texts[1].toStdString());
        Harness h;
        h.seed(QStringLiteral("LAST_RUN"), QStringLiteral("AUTOCLOSE - MANUAL START"));
        Program& p = h.start();
        p.main.END_EMAIL_TICKBOX.setValue(c.endEmail ? 1 : 0);
        prepareBatch(h, kEndBatch, c.file);
        StatusLog log(h);
        h.launcher.onLaunch = [&](const QString&) {
            EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("AUTOCLOSE - MANUAL START"))
                << "the e-mail goes out before the stamp";
        };
        p.engine.run().FinishRunAndClose();

        EXPECT_EQ(log.texts(), c.texts);
        ASSERT_EQ(h.launcher.calls.size(), c.launches);
        if (c.launches > 0) {
            // No pass ran: the subject alone, as its text too.
            EXPECT_EQ(h.launcher.calls[0].argv, (QStringList{QStringLiteral("/bin/sh"), kEndBatch,
                                                             QStringLiteral("ZB-SEQUENTA - zb-sequenta - COMPLETED")}));
        }
        EXPECT_EQ(p.main.LAST_RUN_TEXTBOX.text(), c.lastRun);
        EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), c.lastRun);
        EXPECT_EQ(p.main.LAST_RUN_TEXTBOX.background(), c.lastRun == success ? colour::Green : colour::Red);
        EXPECT_TRUE(p.main.unloaded());
        EXPECT_TRUE(h.clock.halted());
    }
}

// A whole unattended pass: autostart, slots 1 to 3, autoclose.
TEST(RunControl, AnUnattendedPassStoresItsFirstProblemAndOnlyACleanOneAsSuccess)
{
    const struct {
        const char* what;
        BatchFile startBatch;
        BatchFile endBatch;
        bool slotTwoFails;
        QString lastRun;
    } cases[] = {
        {"clean", BatchFile::Present, BatchFile::Present, false, QStringLiteral("COMPLETED SUCCESSFULLY")},
        {"slot fails", BatchFile::Present, BatchFile::Present, true,
         QStringLiteral("COMPLETED WITH ERRORS - TASK 2 FAILED TO START")},
        {"start e-mail missing, slot fails", BatchFile::Missing, BatchFile::Present, true,
         QStringLiteral("COMPLETED WITH ERRORS - START EMAIL NOT SENT")},
        {"slot fails, end e-mail fails", BatchFile::Present, BatchFile::Failing, true,
         QStringLiteral("COMPLETED WITH ERRORS - TASK 2 FAILED TO START")},
        {"end e-mail missing", BatchFile::Present, BatchFile::Missing, false,
         QStringLiteral("COMPLETED WITH ERRORS - END EMAIL NOT SENT")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "START_EMAIL_TICKBOX", "END_EMAIL_TICKBOX"})
            h.seed(QLatin1String(key), QStringLiteral("1"));
        for (int n = 1; n <= 3; ++n) {
            h.seed(QStringLiteral("TASK_%1_ENABLE_TICKBOX").arg(n), QStringLiteral("1"));
            h.seed(QStringLiteral("TASK_%1_CMD").arg(n), QStringLiteral("job%1").arg(n));
        }
        prepareBatch(h, kStartBatch, c.startBatch);
        prepareBatch(h, kEndBatch, c.endBatch);
        if (c.slotTwoFails)
            h.launcher.failing.insert(QStringLiteral("job2"));
        MainWindowModel& m = h.start().main;
        h.seconds(120);

        ASSERT_TRUE(m.unloaded());
        EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), c.lastRun);
        // A task that still runs as the chain ends says so.
        const QString running = QStringLiteral("still running, pid ");
        if (c.slotTwoFails) {
            EXPECT_EQ(m.TASK_LIGHT[2].toolTip(), QStringLiteral("scripted failure"));
        } else {
            EXPECT_TRUE(m.TASK_LIGHT[2].toolTip().startsWith(running));
        }
        EXPECT_TRUE(m.TASK_LIGHT[1].toolTip().startsWith(running));
    }
}

TEST(RunControl, AFailedSlotsReasonLastsUntilItsLightIsPaintedAgainOrCleared)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    test::enableSlot(m, 1, QStringLiteral("missing-program"));
    h.launcher.failing.insert(QStringLiteral("missing-program"));
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(1);
    EXPECT_EQ(m.TASK_LIGHT[1].toolTip(), QStringLiteral("scripted failure"));
    m.TASK_LIGHT[1].doubleClick();
    EXPECT_EQ(m.TASK_LIGHT[1].toolTip(), QString());

    h.seconds(30);
    m.MAIN_START_STOP_BUTTON.click(); // STOP
    m.MAIN_START_STOP_BUTTON.click(); // a new pass
    h.seconds(1);
    EXPECT_EQ(m.TASK_LIGHT[1].toolTip(), QStringLiteral("scripted failure"));
    h.launcher.failing.clear();
    m.MAIN_START_STOP_BUTTON.click();
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(1);
    EXPECT_EQ(m.TASK_LIGHT[1].toolTip(), QString()) << "a started slot drops the old reason";
}

TEST(RunControl, RuntimeClockCountsTicksFromTheAutostartAndWrapsAfterADay)
{
    Harness h;
    h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    // A day-long pass: slot 1 waits for a process that never ends.
    test::pauseSlot(m, 1, QStringLiteral("forever"), QStringLiteral("forever"));
    h.processes.running[QStringLiteral("forever")] = -1;
    h.seconds(11); // the autostart fires
    EXPECT_EQ(m.RUNTIME_TEXTBOX.text(), QStringLiteral("00:00:00"));
    h.seconds(1);
    EXPECT_EQ(m.RUNTIME_TEXTBOX.text(), QStringLiteral("00:00:01"));
    h.seconds(3599);
    EXPECT_EQ(m.RUNTIME_TEXTBOX.text(), QStringLiteral("01:00:00"));
    h.seconds(86400 - 3600 - 1);
    EXPECT_EQ(m.RUNTIME_TEXTBOX.text(), QStringLiteral("23:59:59"));
    h.seconds(1);
    EXPECT_EQ(m.RUNTIME_TEXTBOX.text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(m.runtimeSeconds, 86400) << "the count itself is never reset";
}

TEST(RunControl, ARunStartedWithStartSendsNoEmailAndStartsNoClock)
{
    Harness h;
    h.seed(QStringLiteral("START_EMAIL_TICKBOX"), QStringLiteral("1"));
    h.files.present.insert(kStartBatch);
    MainWindowModel& m = h.start().main;
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(30);
    EXPECT_EQ(m.RUNTIME_TEXTBOX.text(), QStringLiteral("00:00:00"));
    EXPECT_FALSE(m.RUNTIME_TIMER.enabled());
    EXPECT_TRUE(h.launcher.calls.isEmpty());
}

} // namespace
} // namespace zb

namespace zb {
namespace {

TEST(RunControl, APassStartedByHandDuringTheCountdownCancelsItAndRunsAlone)
{
    for (const bool waiting : {false, true}) {
        Harness h;
        h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("1"));
        MainWindowModel& m = h.start().main;
        if (waiting)
            test::pauseSlot(m, 3, QStringLiteral("three"), QStringLiteral("busy"));
        else
            test::enableSlot(m, 3, QStringLiteral("three"));
        h.processes.running[QStringLiteral("busy")] = -1;
        test::enableSlot(m, 15, QStringLiteral("fifteen"));
        m.MAIN_START_STOP_BUTTON.click(); // a pass by hand while the countdown runs
        h.seconds(8);
        EXPECT_EQ(m.TASK_WATCHER_TIMER[3].enabled(), waiting);
        h.seconds(3); // the autostart would have fired at 11 s

        h.processes.running.clear();
        h.seconds(40);
        EXPECT_EQ(h.launcher.commands().count(QStringLiteral("fifteen")), 1) << "waiting: " << waiting;
        EXPECT_EQ(h.journal.kinds().count(JournalEvent::Kind::PassStarted), 1);
    }
}

} // namespace
} // namespace zb
