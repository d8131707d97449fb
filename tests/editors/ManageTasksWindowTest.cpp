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

    EXPECT_EQ(w.geometry(), (WindowGeometry{1000, 1000, 11550, 6885}));
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ(w.TASK_ENABLE_TICKBOX[n].value() + w.TASK_PAUSE_TICKBOX[n].value(), 0);
        EXPECT_EQ(w.TASK_ENABLE_TICKBOX[n].caption(), QStringLiteral("TASK %1").arg(n));
    }
}

TEST(ManageTasksWindow, AnEmptyStoredNameIsShownEmptyAndOnlyAMissingKeyGivesTheDefault)
{
    Harness h;
    h.seed(QStringLiteral("TASK_4_TICKBOX_CAPTION"), QString());
    h.start();
    auto w = test::manageTasksWindow(h);
    w.Form_Load();
    EXPECT_EQ(w.TASK_ENABLE_TICKBOX[4].caption(), QString());
    EXPECT_EQ(w.TASK_ENABLE_TICKBOX[5].caption(), QStringLiteral("TASK 5"));
}

// Switches changed on the main window during this run are not stored yet:
// the window shows the store, and OK puts the store's view back.
TEST(ManageTasksWindow, ShowsTheStoreNotTheMainWindowAndOkOverwritesTheMainWindow)
{
    Harness h;
    h.seed(QStringLiteral("TASK_2_ENABLE_TICKBOX"), QStringLiteral("1"));
    h.seed(QStringLiteral("TASK_9_PAUSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
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
}

TEST(ManageTasksWindow, OkSetsTheMainWindowFirstThenStoresEnablesThenPauses)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    auto w = test::manageTasksWindow(h);
    w.Form_Load();
    w.TASK_ENABLE_TICKBOX[20].click();
    w.TASK_PAUSE_TICKBOX[7].click();
    qsizetype writesWhenMainChanged = -1;
    m.TASK_PAUSE_TICKBOX[7].setChangeListener([&] { writesWhenMainChanged = h.store.writes().size(); });

    w.OK_BUTTON.click();

    EXPECT_EQ(writesWhenMainChanged, 0);
    const QStringList position{QStringLiteral("MANAGE_TASKS_WINDOW-Left"), QStringLiteral("MANAGE_TASKS_WINDOW-Top")};
    EXPECT_EQ(test::writtenKeys(h), test::slotKeys("ENABLE_TICKBOX") + test::slotKeys("PAUSE_TICKBOX") + position);
    EXPECT_EQ(h.stored(QStringLiteral("TASK_20_ENABLE_TICKBOX")), QStringLiteral("1"));
    EXPECT_EQ(h.stored(QStringLiteral("TASK_7_PAUSE_TICKBOX")), QStringLiteral("1"));
    EXPECT_EQ(h.stored(QStringLiteral("TASK_7_ENABLE_TICKBOX")), QStringLiteral("0"));
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[20].value(), 1);
    EXPECT_TRUE(w.unloaded());
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
    EXPECT_EQ(h.stored(QStringLiteral("TASK_4_ENABLE_TICKBOX")), QStringLiteral("<absent>"));
}

} // namespace
} // namespace zb
