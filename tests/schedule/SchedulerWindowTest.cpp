// The scheduled-task window over a crontab held in memory.
#include "engine/JournalText.h"
#include "platform/fake/FakeCrontab.h"
#include "schedule/SchedulerTexts.h"
#include "schedule/SchedulerWindowModel.h"
#include "tests/support/Harness.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

const QByteArray kOthers = "MAILTO=\"\"\n# keep me\n0 3 * * * /usr/bin/backup";
const QByteArray kMarker = "# ZB-SEQUENTA - zb-sequenta";

class SchedulerWindow : public ::testing::Test {
protected:
    SchedulerWindow() { reset(); }

    // A new program on an empty store, over a crontab with other lines.
    void reset()
    {
        window.reset();
        harness = std::make_unique<Harness>();
        crontab = FakeCrontab();
        crontab.table = kOthers;
        h().processes.running[QStringLiteral("cron")] = -1;
        journal = nullptr;
    }
    Harness& h() { return *harness; }

    // Opens the window on what is stored now.
    SchedulerWindowModel& open()
    {
        h().start();
        window = std::make_unique<SchedulerWindowModel>(h().program->settings, crontab, h().processes, h().exe);
        window->now = [] { return QDateTime(QDate(2026, 12, 9), QTime(12, 0)); }; // a Wednesday
        if (journal != nullptr)
            window->setJournal(journal);
        window->Form_Load();
        return *window;
    }
    void seedCreated(const char* day, const char* time)
    {
        h().seed(QStringLiteral("TASK_STATUS_TEXTBOX"), text::kTaskCreated);
        h().seed(QLatin1String(day), QStringLiteral("1"));
        h().seed(QStringLiteral("TASK_RUN_TIME_TEXTBOX"), QLatin1String(time));
        h().seed(QStringLiteral("ENABLE_SCHED_TASK_TICKBOX"), QStringLiteral("1"));
    }
    // "E" enabled / "d" disabled, "1" ticked / "0" clear, for every-day then
    // Monday to Sunday.
    static std::string dayStates(const SchedulerWindowModel& w)
    {
        std::string out;
        const auto one = [&out](const TickBox& t) {
            out += std::string(t.enabled() ? "E" : "d") + (t.ticked() ? "1" : "0") + " ";
        };
        one(w.SELECT_ALL_DAYS_TICKBOX);
        for (const TickBox* t : w.dayTicks)
            one(*t);
        return out;
    }
    QString health() const { return window->SCHEDULE_HEALTH_TEXTBOX.text(); }

    std::unique_ptr<Harness> harness;
    FakeCrontab crontab;
    std::unique_ptr<SchedulerWindowModel> window;
    RunJournal* journal = nullptr; // the window reads none unless given one
};

TEST_F(SchedulerWindow, EveryDayOrAnySetOfWeekdaysAndTheDayListFollows)
{
    SchedulerWindowModel& w = open();
    const std::string allFree = "E0 E0 E0 E0 E0 E0 E0 E0 ";
    EXPECT_EQ(dayStates(w), allFree);
    EXPECT_FALSE(w.CREATE_TASK_BUTTON.enabled());

    w.SELECT_ALL_DAYS_TICKBOX.click();
    EXPECT_EQ(dayStates(w), "E1 d0 d0 d0 d0 d0 d0 d0 ");
    w.SELECT_ALL_DAYS_TICKBOX.click();

    w.WORKING_DAYS_BUTTON.click();
    EXPECT_EQ(dayStates(w), "d0 E1 E1 E1 E1 E1 E0 E0 ");
    w.dayTicks[1]->click();
    w.dayTicks[3]->click();
    w.dayTicks[6]->click();
    EXPECT_EQ(dayStates(w), "d0 E1 E0 E1 E0 E1 E0 E1 ");
    EXPECT_EQ(w.SELECTED_DAYS_TEXTBOX.text(), QStringLiteral("MON WED FRI SUN "));
}

TEST_F(SchedulerWindow, AFreshStoreOpensDeletedAndAStoredTaskOpensLocked)
{
    {
        SchedulerWindowModel& w = open();
        EXPECT_EQ(w.TASK_STATUS_TEXTBOX.text(), text::kTaskDeleted);
        EXPECT_EQ(w.TASK_RUN_TIME_TEXTBOX.text(), QStringLiteral("00:00"));
        EXPECT_FALSE(w.TASK_RUN_TIME_TEXTBOX.locked());
        EXPECT_FALSE(w.CREATE_TASK_BUTTON.enabled());
        EXPECT_FALSE(w.DELETE_TASK_BUTTON.enabled());
        EXPECT_FALSE(w.ENABLE_DELETE_BUTTON_TICKBOX.enabled());
        EXPECT_FALSE(w.ENABLE_SCHED_TASK_TICKBOX.enabled());
        EXPECT_EQ(w.TASK_NAME_TEXTBOX.text(), QStringLiteral("ZB-SEQUENTA - zb-sequenta"));
        EXPECT_EQ(health(), text::kNoEntry);
        EXPECT_EQ(crontab.calls, QStringList{QStringLiteral("read")});
    }
    reset();
    const QByteArray ours = "30 7 * * 5 '/opt/zb/zb-sequenta' " + kMarker;
    crontab.table = kOthers + '\n' + ours + '\n';
    crontab.calls.clear();
    seedCreated("FRI_TICKBOX", "07:30");
    SchedulerWindowModel& w = open();
    EXPECT_EQ(dayStates(w), "d0 d0 d0 d0 d0 d1 d0 d0 ");
    EXPECT_TRUE(w.TASK_RUN_TIME_TEXTBOX.locked());
    EXPECT_FALSE(w.CREATE_TASK_BUTTON.enabled());
    EXPECT_TRUE(w.ENABLE_DELETE_BUTTON_TICKBOX.enabled());
    EXPECT_FALSE(w.DELETE_TASK_BUTTON.enabled()) << "unreachable until Enable Delete is ticked";
    EXPECT_TRUE(w.ENABLE_SCHED_TASK_TICKBOX.enabled());
    EXPECT_TRUE(w.ENABLE_SCHED_TASK_TICKBOX.ticked());
    EXPECT_EQ(w.OUTPUT_COMMAND_TEXTBOX.text(), QString());
    // The stored enable tick re-asserts the line; it already runs, so
    // nothing is written.
    EXPECT_EQ(crontab.writes, 0);
    EXPECT_EQ(health(), QStringLiteral("Next start: Fri 2026-12-11 07:30"));
}

TEST_F(SchedulerWindow, CreateInstallsTheLineAndOnlyThenSwitchesToCreated)
{
    crontab.environment = {{QStringLiteral("DISPLAY"), QStringLiteral(":0")},
                           {QStringLiteral("XAUTHORITY"), QStringLiteral("/run/user/1000/gdm/Xauthority")}};
    SchedulerWindowModel& w = open();
    w.MON_TICKBOX.click();
    w.TASK_RUN_TIME_TEXTBOX.edit(QStringLiteral("07:30"));
    w.CREATE_TASK_BUTTON.click();

    const QByteArray line =
        "30 7 * * 1 ZB_SEQUENTA_SCHEDULED=1 DISPLAY=':0' XAUTHORITY='/run/user/1000/gdm/Xauthority' "
        "'/opt/zb/zb-sequenta' " +
        kMarker;
    EXPECT_EQ(w.OUTPUT_COMMAND_TEXTBOX.text(), QString::fromUtf8(line));
    EXPECT_EQ(crontab.table, kOthers + '\n' + line + '\n');
    EXPECT_EQ(h().stored(QStringLiteral("TASK_STATUS_TEXTBOX")), text::kTaskCreated);
    EXPECT_EQ(h().stored(QStringLiteral("ENABLE_SCHED_TASK_TICKBOX")), QStringLiteral("1"));
    EXPECT_EQ(dayStates(w), "d0 d1 d0 d0 d0 d0 d0 d0 ");
    EXPECT_TRUE(w.TASK_RUN_TIME_TEXTBOX.locked());
    EXPECT_FALSE(w.CREATE_TASK_BUTTON.enabled());
    EXPECT_TRUE(w.ENABLE_SCHED_TASK_TICKBOX.ticked()) << "the new line runs";
    EXPECT_EQ(health(), QStringLiteral("Next start: Mon 2026-12-14 07:30"));
    EXPECT_EQ(w.SCHEDULE_HEALTH_TEXTBOX.foreground(), colour::Black);
}

// Monday to Friday with the catch-up: two lines, the one at boot marked
// apart; the window says what it does; disable and delete take both.
TEST_F(SchedulerWindow, WorkingDaysWithACatchUpWriteTheEntryAndItsLineAtBoot)
{
    SchedulerWindowModel& w = open();
    w.WORKING_DAYS_BUTTON.click();
    w.CATCH_UP_TICKBOX.click();
    w.TASK_RUN_TIME_TEXTBOX.edit(QStringLiteral("02:00"));
    w.CREATE_TASK_BUTTON.click();

    const QByteArray line = "0 2 * * 1-5 ZB_SEQUENTA_SCHEDULED=1 DISPLAY=':0' '/opt/zb/zb-sequenta' " + kMarker;
    const QByteArray boot =
        "@reboot ZB_SEQUENTA_SCHEDULED=boot DISPLAY=':0' '/opt/zb/zb-sequenta' " + kMarker + " /boot";
    EXPECT_EQ(crontab.table, kOthers + '\n' + line + '\n' + boot + '\n');
    EXPECT_EQ(health(), QStringLiteral("Next start: Thu 2026-12-10 02:00. At boot it runs a start that the machine "
                                       "missed: the last one planned, if no pass ran after it, even on a day the entry "
                                       "leaves out"));
    EXPECT_EQ(h().stored(QStringLiteral("FRI_TICKBOX")), QStringLiteral("1")) << "stored at once for the boot";

    w.ENABLE_SCHED_TASK_TICKBOX.click();
    const QByteArray off = "#ZB-SEQUENTA-DISABLED# ";
    EXPECT_EQ(crontab.table, kOthers + '\n' + off + line + '\n' + off + boot + '\n');
    w.ENABLE_DELETE_BUTTON_TICKBOX.click();
    w.DELETE_TASK_BUTTON.click();
    EXPECT_EQ(crontab.table, kOthers + '\n');
}

TEST_F(SchedulerWindow, AFailingCrontabLeavesStatusAndControlsAndShowsItsMessage)
{
    crontab.failWrite = QStringLiteral("crontab: installing new crontab failed: No space left on device");
    SchedulerWindowModel& w = open();
    w.SELECT_ALL_DAYS_TICKBOX.click();
    w.CREATE_TASK_BUTTON.click();

    EXPECT_EQ(crontab.table, kOthers);
    EXPECT_EQ(w.TASK_STATUS_TEXTBOX.text(), text::kTaskDeleted);
    EXPECT_EQ(h().stored(QStringLiteral("TASK_STATUS_TEXTBOX")), QStringLiteral("<absent>"));
    EXPECT_EQ(health(), crontab.failWrite);
    EXPECT_EQ(w.SCHEDULE_HEALTH_TEXTBOX.foreground(), colour::Red);
    EXPECT_TRUE(w.CREATE_TASK_BUTTON.enabled()) << "the user may try again";
    EXPECT_FALSE(w.TASK_RUN_TIME_TEXTBOX.locked());
    EXPECT_FALSE(w.ENABLE_DELETE_BUTTON_TICKBOX.enabled());
}

TEST_F(SchedulerWindow, OnlyViewShowsTheLineAndStartsNothing)
{
    SchedulerWindowModel& w = open();
    const QStringList atLoad = crontab.calls;
    w.ONLY_VIEW_COMMAND_TICKBOX.click();
    w.SUN_TICKBOX.click();
    w.TASK_RUN_TIME_TEXTBOX.edit(QStringLiteral("23:59"));
    w.CREATE_TASK_BUTTON.click();
    EXPECT_EQ(w.OUTPUT_COMMAND_TEXTBOX.text(),
              QStringLiteral("59 23 * * 7 ZB_SEQUENTA_SCHEDULED=1 DISPLAY=':0' '/opt/zb/zb-sequenta' "
                             "# ZB-SEQUENTA - zb-sequenta"));
    EXPECT_EQ(crontab.calls, atLoad);
    EXPECT_EQ(w.TASK_STATUS_TEXTBOX.text(), text::kTaskDeleted);
    EXPECT_TRUE(w.CREATE_TASK_BUTTON.enabled());
}

TEST_F(SchedulerWindow, ARunTimeThatIsNotHHMMOrNoDayChoiceIsRefusedBeforeTheCrontab)
{
    SchedulerWindowModel& w = open();
    const QStringList atLoad = crontab.calls;
    w.TUE_TICKBOX.click();
    for (const char* bad : {"7:30", "24:00", "12:60", "", "noon"}) {
        w.TASK_RUN_TIME_TEXTBOX.edit(QLatin1String(bad));
        w.CREATE_TASK_BUTTON.click();
        EXPECT_EQ(health(), text::kBadRunTime) << bad;
        EXPECT_EQ(w.OUTPUT_COMMAND_TEXTBOX.text(), QString()) << bad;
    }
    w.TASK_RUN_TIME_TEXTBOX.edit(QStringLiteral("08:00"));
    w.TUE_TICKBOX.click();
    w.CREATE_TASK_BUTTON_Click(); // the button itself is disabled by now
    EXPECT_EQ(health(), text::kNoDayChoice);
    EXPECT_EQ(crontab.calls, atLoad);
}

TEST_F(SchedulerWindow, DeleteNeedsTheGuardRemovesOnlyOurLineAndAsksForANewDayChoice)
{
    crontab.table = kOthers + "\n0 6 * * * '/opt/zb/zb-sequenta' " + kMarker + "\n";
    seedCreated("SELECT_ALL_DAYS_TICKBOX", "06:00");
    SchedulerWindowModel& w = open();
    w.DELETE_TASK_BUTTON.click();
    EXPECT_EQ(crontab.writes, 0);
    w.ENABLE_DELETE_BUTTON_TICKBOX.click();
    w.DELETE_TASK_BUTTON.click();

    EXPECT_EQ(crontab.table, kOthers + '\n');
    EXPECT_EQ(h().stored(QStringLiteral("TASK_STATUS_TEXTBOX")), text::kTaskDeleted);
    EXPECT_EQ(dayStates(w), "E0 E0 E0 E0 E0 E0 E0 E0 ");
    EXPECT_FALSE(w.CREATE_TASK_BUTTON.enabled());
    EXPECT_FALSE(w.DELETE_TASK_BUTTON.enabled());
    EXPECT_FALSE(w.ENABLE_DELETE_BUTTON_TICKBOX.ticked());
    EXPECT_FALSE(w.ENABLE_SCHED_TASK_TICKBOX.ticked());
    EXPECT_FALSE(w.ENABLE_SCHED_TASK_TICKBOX.enabled());
    EXPECT_EQ(w.TASK_RUN_TIME_TEXTBOX.text(), QStringLiteral("00:00"));
    EXPECT_FALSE(w.TASK_RUN_TIME_TEXTBOX.locked());
    EXPECT_EQ(health(), text::kNoEntry);

    // A second Delete (the line went by hand) is no failure either.
    w.SELECT_ALL_DAYS_TICKBOX.click();
    w.CREATE_TASK_BUTTON.click();
    crontab.table = kOthers;
    w.ENABLE_DELETE_BUTTON_TICKBOX.click();
    w.DELETE_TASK_BUTTON.click();
    EXPECT_EQ(w.TASK_STATUS_TEXTBOX.text(), text::kTaskDeleted);
}

TEST_F(SchedulerWindow, TheEnableTickCommentsTheLineOutAndBackAndSaysWhenThereIsNone)
{
    const QByteArray ours = "0 6 * * 2 '/opt/zb/zb-sequenta' " + kMarker;
    crontab.table = ours + '\n';
    seedCreated("TUE_TICKBOX", "06:00");
    SchedulerWindowModel& w = open();
    w.ENABLE_SCHED_TASK_TICKBOX.click();
    EXPECT_EQ(crontab.table, "#ZB-SEQUENTA-DISABLED# " + ours + '\n');
    EXPECT_EQ(health(), text::kEntryDisabled);
    w.ONLY_VIEW_COMMAND_TICKBOX.click(); // does not hold the enable tick back
    w.ENABLE_SCHED_TASK_TICKBOX.click();
    EXPECT_EQ(crontab.table, ours + '\n');
    EXPECT_EQ(health(), QStringLiteral("Next start: Tue 2026-12-15 06:00"));

    crontab.table = kOthers; // removed by hand
    w.ENABLE_SCHED_TASK_TICKBOX.click();
    w.ENABLE_SCHED_TASK_TICKBOX.click();
    EXPECT_EQ(health(), text::kNoEntryToEnable);
    EXPECT_FALSE(w.ENABLE_SCHED_TASK_TICKBOX.ticked());
    EXPECT_EQ(crontab.table, kOthers);
}

TEST_F(SchedulerWindow, TheHealthLineSaysWhatTheCrontabReallyHolds)
{
    const QByteArray ours = "0 6 * * * '/opt/zb/zb-sequenta' " + kMarker;
    const struct {
        QByteArray table;
        bool daemon;
        const char* health;
        bool warning;
        const char* since = nullptr; // scheduled since then, with a journal that has no start
    } cases[] = {
        {kOthers, true, "Stored as created, but no entry found in the crontab", true},
        {"#ZB-SEQUENTA-DISABLED# " + ours + '\n', true, "Entry found but disabled", false},
        {ours + '\n', true, "Next start: Thu 2026-12-10 06:00", false},
        {ours + '\n', false, "Next start: Thu 2026-12-10 06:00, but no cron daemon is running, so nothing will start",
         true},
        {"*/10 6 * * * '/x' " + kMarker + '\n', true, "Entry found: */10 6 * * * '/x'", false},
        // This morning's start left no trace in the journal.
        {"0 6 * * * ZB_SEQUENTA_SCHEDULED=1 '/opt/zb/zb-sequenta' " + kMarker + '\n', true,
         "Next start: Thu 2026-12-10 06:00. Wed 06:00 did not start: the machine was off or cron was not running", true,
         "2026-12-01T10:00:00Z"},
    };
    NullRunJournal noTrace;
    for (const auto& c : cases) {
        reset();
        crontab.table = c.table;
        if (!c.daemon)
            h().processes.running.clear();
        seedCreated("SELECT_ALL_DAYS_TICKBOX", "06:00");
        h().seed(QStringLiteral("ENABLE_SCHED_TASK_TICKBOX"), QStringLiteral("0"));
        if (c.since != nullptr) {
            h().seed(QStringLiteral("SCHEDULED_SINCE"), QLatin1String(c.since));
            journal = &noTrace;
        }
        open();
        EXPECT_EQ(health().toStdString(), c.health);
        EXPECT_EQ(window->SCHEDULE_HEALTH_TEXTBOX.foreground(), c.warning ? colour::Red : colour::Black) << c.health;
        EXPECT_EQ(crontab.writes, 0) << "opening only looks";
    }
    reset();
    h().processes.unreadable = true; // cannot tell: no warning
    crontab.table = "0 6 * * * '/x' " + kMarker + '\n';
    seedCreated("SELECT_ALL_DAYS_TICKBOX", "06:00");
    open();
    EXPECT_EQ(health(), QStringLiteral("Next start: Thu 2026-12-10 06:00"));

    reset();
    crontab.failRead = QStringLiteral("The crontab program is not installed on this machine.");
    open();
    EXPECT_EQ(health(), crontab.failRead);
}

TEST_F(SchedulerWindow, OkWaitsForTheCrontabAndAWindowClosedMeanwhileStoresWhatItEndsWith)
{
    crontab.deferred = true;
    SchedulerWindowModel& w = open();
    w.SELECT_ALL_DAYS_TICKBOX.click();
    w.TASK_RUN_TIME_TEXTBOX.edit(QStringLiteral("05:00"));
    w.CREATE_TASK_BUTTON.click();
    EXPECT_TRUE(w.busy());
    EXPECT_EQ(w.TASK_STATUS_TEXTBOX.text(), text::kTaskDeleted);
    EXPECT_FALSE(w.CREATE_TASK_BUTTON.enabled()) << "no second Create while the first runs";
    w.OK_BUTTON.click();
    EXPECT_FALSE(w.busy());
    EXPECT_EQ(h().stored(QStringLiteral("TASK_STATUS_TEXTBOX")), text::kTaskCreated);
    EXPECT_EQ(h().stored(QStringLiteral("ENABLE_SCHED_TASK_TICKBOX")), QStringLiteral("1"));
    EXPECT_EQ(h().stored(QStringLiteral("SCHEDULED_SINCE")), isoTimeWithOffset(window->now()));
    EXPECT_TRUE(crontab.table.endsWith(kMarker + '\n'));

    // Closed without OK while the line is being disabled: the call still
    // reports, and the store agrees with the crontab.
    window.reset();
    open();
    window->ENABLE_SCHED_TASK_TICKBOX.click();
    window.reset();
    EXPECT_TRUE(crontab.pending.isEmpty());
    EXPECT_EQ(h().stored(QStringLiteral("ENABLE_SCHED_TASK_TICKBOX")), QStringLiteral("0"));
    EXPECT_TRUE(crontab.table.startsWith(QByteArray(kOthers) + "\n#ZB-SEQUENTA-DISABLED# "));
}

TEST_F(SchedulerWindow, TheEntryStartsTheRealFileAndANameWithABlankKeepsItsOneLine)
{
    h().exe.baseName_ = QStringLiteral("nightly ");
    h().exe.fileName_ = QStringLiteral("nightly .exe");
    SchedulerWindowModel& w = open();
    for (int round = 0; round < 2; ++round) {
        w.SELECT_ALL_DAYS_TICKBOX.click();
        w.CREATE_TASK_BUTTON.click();
        EXPECT_EQ(crontab.table, kOthers + "\n0 0 * * * ZB_SEQUENTA_SCHEDULED=1 DISPLAY=':0' '/opt/zb/nightly .exe' "
                                           "# ZB-SEQUENTA - nightly |\n")
            << round;
        EXPECT_EQ(health(), QStringLiteral("Next start: Thu 2026-12-10 00:00")) << round;
        w.ENABLE_DELETE_BUTTON_TICKBOX.click();
        w.DELETE_TASK_BUTTON.click();
        EXPECT_EQ(crontab.table, kOthers + '\n') << round;
    }
}

} // namespace
} // namespace zb
