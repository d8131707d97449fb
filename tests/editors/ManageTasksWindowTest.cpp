#include "tests/editors/EditorTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

TEST(ManageTasksWindow, EmptyStoreShowsFortyClearSwitchesUnderTheDefaultNames)
{
    Harness h;
    h.start();
    auto w = test::manageTasksWindow(h);
    w.Form_Load();

    EXPECT_EQ(w.title(), QStringLiteral("ZB-SEQUENTA - ENABLE / DISABLE - TASKS / P4P"));
    EXPECT_EQ(w.geometry(), (WindowGeometry {1000, 1000, 11550, 6885}));
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ(w.TASK_ENABLE_TICKBOX[n].value(), 0);
        EXPECT_EQ(w.TASK_PAUSE_TICKBOX[n].value(), 0);
        EXPECT_EQ(w.TASK_ENABLE_TICKBOX[n].caption(), QStringLiteral("TASK %1").arg(n));
        EXPECT_EQ(w.TASK_LIGHT[n].text(), QString::number(n));
    }
    EXPECT_TRUE(h.store.writes().isEmpty());
}

TEST(ManageTasksWindow, ShowsTheStoreNotTheMainWindowAndOkOverwritesTheMainWindow)
{
    Harness h;
    h.seed(QStringLiteral("TASK_2_ENABLE_TICKBOX"), QStringLiteral("1"));
    h.seed(QStringLiteral("TASK_9_PAUSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    // Changed on the main window during this run, not stored yet.
    m.TASK_ENABLE_TICKBOX[2].click();
    m.TASK_ENABLE_TICKBOX[3].click();
    m.TASK_PAUSE_TICKBOX[9].click();

    auto w = test::manageTasksWindow(h);
    w.Form_Load();
    EXPECT_EQ(w.TASK_ENABLE_TICKBOX[2].value(), 1);
    EXPECT_EQ(w.TASK_ENABLE_TICKBOX[3].value(), 0);
    EXPECT_EQ(w.TASK_PAUSE_TICKBOX[9].value(), 1);

    w.OK_BUTTON.click();

    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[2].value(), 1);
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[3].value(), 0);
    EXPECT_EQ(m.TASK_PAUSE_TICKBOX[9].value(), 1);
    EXPECT_TRUE(w.unloaded());
}

TEST(ManageTasksWindow, OkSetsTheMainWindowFirstThenStoresEnablesThenPausesThenThePosition)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    auto w = test::manageTasksWindow(h);
    w.Form_Load();
    w.TASK_ENABLE_TICKBOX[1].click();
    w.TASK_ENABLE_TICKBOX[20].click();
    w.TASK_PAUSE_TICKBOX[7].click();
    qsizetype writesWhenMainChanged = -1;
    m.TASK_PAUSE_TICKBOX[7].setChangeListener([&] { writesWhenMainChanged = h.store.writes().size(); });

    w.OK_BUTTON.click();

    EXPECT_EQ(writesWhenMainChanged, 0) << "the main window is set before anything is stored";
    const QStringList expected = test::slotKeys("ENABLE_TICKBOX") + test::slotKeys("PAUSE_TICKBOX")
        + QStringList {QStringLiteral("MANAGE_TASKS_WINDOW-Left"), QStringLiteral("MANAGE_TASKS_WINDOW-Top")};
    EXPECT_EQ(test::writtenKeys(h), expected);
    for (int n = 1; n <= 20; ++n) {
        const bool enabled = n == 1 || n == 20;
        EXPECT_EQ(h.stored(QStringLiteral("TASK_%1_ENABLE_TICKBOX").arg(n)), QString::number(enabled ? 1 : 0));
        EXPECT_EQ(h.stored(QStringLiteral("TASK_%1_PAUSE_TICKBOX").arg(n)), QString::number(n == 7 ? 1 : 0));
        EXPECT_EQ(m.TASK_ENABLE_TICKBOX[n].value(), enabled ? 1 : 0);
        EXPECT_EQ(m.TASK_PAUSE_TICKBOX[n].value(), n == 7 ? 1 : 0);
    }
}

TEST(ManageTasksWindow, TheCloseBoxDiscardsTheSwitches)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    auto w = test::manageTasksWindow(h);
    w.Form_Load();
    w.TASK_ENABLE_TICKBOX[4].click();
    w.close();
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[4].value(), 0);
    EXPECT_EQ(test::writtenKeys(h),
        (QStringList {QStringLiteral("MANAGE_TASKS_WINDOW-Left"), QStringLiteral("MANAGE_TASKS_WINDOW-Top")}));
}

TEST(ManageTasksWindow, AnEmptyStoredNameIsShownEmptyAndOnlyAMissingKeyGivesTheDefault)
{
    Harness h;
    h.seed(QStringLiteral("TASK_4_TICKBOX_CAPTION"), QString());
    h.seed(QStringLiteral("TASK_6_TICKBOX_CAPTION"), QStringLiteral("Disk check"));
    h.start();
    auto w = test::manageTasksWindow(h);
    w.Form_Load();
    EXPECT_EQ(w.TASK_ENABLE_TICKBOX[4].caption(), QString());
    EXPECT_EQ(w.TASK_ENABLE_TICKBOX[5].caption(), QStringLiteral("TASK 5"));
    EXPECT_EQ(w.TASK_ENABLE_TICKBOX[6].caption(), QStringLiteral("Disk check"));
}

TEST(ManageTasksWindow, OkDuringARunChangesWhatTheChainDoesWithSlotsNotYetReached)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    m.TASK_CMD_TEXTBOX[10].setText(QStringLiteral("tenth"));
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(3);
    auto w = test::manageTasksWindow(h);
    w.Form_Load();
    w.TASK_ENABLE_TICKBOX[10].click();
    w.OK_BUTTON.click();
    h.seconds(20);
    EXPECT_EQ(h.launcher.commands(), QStringList {QStringLiteral("tenth")});
}

} // namespace
} // namespace zb
