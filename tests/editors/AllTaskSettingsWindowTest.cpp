#include "tests/editors/EditorTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

const QStringList kPosition {QStringLiteral("SETTINGS-Left"), QStringLiteral("SETTINGS-Top")};

TEST(AllTaskSettingsWindow, EmptyStoreShowsDefaultsAndTheFirstSaveCreatesAllSixtyKeys)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    // Typed on the main window, never saved: Save replaces it.
    m.TASK_CMD_TEXTBOX[4].edit(QStringLiteral("typed"));
    m.TASK_ENABLE_TICKBOX[4].setCaption(QStringLiteral("renamed"));
    auto w = test::allTasksWindow(h);
    w.Form_Load();

    EXPECT_EQ(w.title(), QStringLiteral("ZB-SEQUENTA - SETTINGS"));
    EXPECT_EQ(w.geometry(), (WindowGeometry {1000, 1000, 17400, 6180}));
    EXPECT_EQ(w.CANCEL_BUTTON.caption(), QStringLiteral("Cancel"));
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ(w.TASK_NAME_TEXTBOX[n].text(), QStringLiteral("TASK %1").arg(n));
        EXPECT_EQ(w.TASK_CMD_TEXTBOX[n].text(), QString());
        EXPECT_EQ(w.TASK_PROCESS_NAME_TEXTBOX[n].text(), QString());
    }

    w.SAVE_BUTTON.click();

    EXPECT_EQ(test::writtenKeys(h),
        kPosition + test::slotKeys("TICKBOX_CAPTION") + test::slotKeys("CMD") + test::slotKeys("PROCESS_NAME_TEXTBOX"));
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ(h.stored(QStringLiteral("TASK_%1_TICKBOX_CAPTION").arg(n)), QStringLiteral("TASK %1").arg(n));
        EXPECT_EQ(h.stored(QStringLiteral("TASK_%1_CMD").arg(n)), QString());
        EXPECT_EQ(h.stored(QStringLiteral("TASK_%1_PROCESS_NAME_TEXTBOX").arg(n)), QString());
        EXPECT_EQ(m.TASK_ENABLE_TICKBOX[n].caption(), QStringLiteral("TASK %1").arg(n));
        EXPECT_EQ(m.TASK_CMD_TEXTBOX[n].text(), QString());
        EXPECT_EQ(m.TASK_PROCESS_NAME_TEXTBOX[n].text(), QString());
    }
    EXPECT_EQ(w.CANCEL_BUTTON.caption(), QStringLiteral("Close"));
    EXPECT_FALSE(w.unloaded());
}

TEST(AllTaskSettingsWindow, SaveStoresEverythingBeforeTheMainWindowChanges)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    auto w = test::allTasksWindow(h);
    w.Form_Load();
    w.setPosition(2000, 3000.5);
    w.TASK_NAME_TEXTBOX[1].edit(QStringLiteral("Backup"));
    w.TASK_CMD_TEXTBOX[20].edit(QStringLiteral("/usr/bin/sync"));
    w.TASK_PROCESS_NAME_TEXTBOX[11].edit(QStringLiteral("sync"));
    qsizetype writesWhenMainChanged = -1;
    m.TASK_ENABLE_TICKBOX[1].setChangeListener([&] { writesWhenMainChanged = h.store.writes().size(); });

    w.SAVE_BUTTON.click();

    EXPECT_EQ(writesWhenMainChanged, 62);
    EXPECT_EQ(h.stored(QStringLiteral("SETTINGS-Left")), QStringLiteral("2000"));
    EXPECT_EQ(h.stored(QStringLiteral("SETTINGS-Top")), QStringLiteral("3000.5"));
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[1].caption(), QStringLiteral("Backup"));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[20].text(), QStringLiteral("/usr/bin/sync"));
    EXPECT_EQ(m.TASK_PROCESS_NAME_TEXTBOX[11].text(), QStringLiteral("sync"));
    EXPECT_EQ(h.stored(QStringLiteral("SETTINGS-Width")), QStringLiteral("<absent>"));
}

TEST(AllTaskSettingsWindow, CloseAfterSaveStoresOnlyThePositionAndDropsLaterEdits)
{
    Harness h;
    h.seed(QStringLiteral("TASK_2_CMD"), QStringLiteral("/bin/old"));
    MainWindowModel& m = h.start().main;
    {
        auto w = test::allTasksWindow(h);
        w.Form_Load();
        w.TASK_CMD_TEXTBOX[2].edit(QStringLiteral("/bin/saved"));
        w.SAVE_BUTTON.click();
        w.TASK_CMD_TEXTBOX[2].edit(QStringLiteral("/bin/after save"));
        w.TASK_NAME_TEXTBOX[3].edit(QStringLiteral("after save"));
        h.store.clearWrites();

        w.CANCEL_BUTTON.click();

        EXPECT_TRUE(w.unloaded());
        for (const QString& key : test::writtenKeys(h))
            EXPECT_TRUE(kPosition.contains(key)) << key.toStdString();
        EXPECT_FALSE(h.store.writes().isEmpty());
    }
    EXPECT_EQ(h.stored(QStringLiteral("TASK_2_CMD")), QStringLiteral("/bin/saved"));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[2].text(), QStringLiteral("/bin/saved"));
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[3].caption(), QStringLiteral("TASK 3"));

    // The next opening starts fresh from the store.
    auto again = test::allTasksWindow(h);
    again.Form_Load();
    EXPECT_EQ(again.CANCEL_BUTTON.caption(), QStringLiteral("Cancel"));
    EXPECT_EQ(again.TASK_CMD_TEXTBOX[2].text(), QStringLiteral("/bin/saved"));
    EXPECT_EQ(again.TASK_NAME_TEXTBOX[3].text(), QStringLiteral("TASK 3"));
}

TEST(AllTaskSettingsWindow, CancelAndTheCloseBoxWithoutSaveStoreOnlyThePosition)
{
    const struct {
        const char* how;
        void (*close)(AllTaskSettingsWindowModel&);
    } cases[] = {
        {"Cancel", [](AllTaskSettingsWindowModel& w) { w.CANCEL_BUTTON.click(); }},
        {"close box", [](AllTaskSettingsWindowModel& w) { w.close(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        Harness h;
        MainWindowModel& m = h.start().main;
        auto w = test::allTasksWindow(h);
        w.Form_Load();
        w.setPosition(1500, 1600);
        w.TASK_CMD_TEXTBOX[1].edit(QStringLiteral("/bin/never"));
        c.close(w);
        EXPECT_EQ(h.stored(QStringLiteral("SETTINGS-Left")), QStringLiteral("1500"));
        EXPECT_EQ(h.stored(QStringLiteral("SETTINGS-Top")), QStringLiteral("1600"));
        for (const QString& key : test::writtenKeys(h))
            EXPECT_TRUE(kPosition.contains(key)) << key.toStdString();
        EXPECT_EQ(m.TASK_CMD_TEXTBOX[1].text(), QString());
    }
}

TEST(AllTaskSettingsWindow, ShowsStoredValuesVerbatimIncludingEmptyNames)
{
    Harness h;
    h.seed(QStringLiteral("TASK_1_TICKBOX_CAPTION"), QString());
    h.seed(QStringLiteral("TASK_13_TICKBOX_CAPTION"), QStringLiteral(" spaced "));
    h.seed(QStringLiteral("TASK_13_CMD"), QStringLiteral("/bin/sh -c \"date >> /tmp/log\""));
    h.seed(QStringLiteral("TASK_13_PROCESS_NAME_TEXTBOX"), QStringLiteral("sh"));
    h.start();
    auto w = test::allTasksWindow(h);
    w.Form_Load();
    EXPECT_EQ(w.TASK_NAME_TEXTBOX[1].text(), QString());
    EXPECT_EQ(w.TASK_NAME_TEXTBOX[13].text(), QStringLiteral(" spaced "));
    EXPECT_EQ(w.TASK_CMD_TEXTBOX[13].text(), QStringLiteral("/bin/sh -c \"date >> /tmp/log\""));
    EXPECT_EQ(w.TASK_PROCESS_NAME_TEXTBOX[13].text(), QStringLiteral("sh"));
    EXPECT_EQ(w.TASK_PROCESS_NAME_TEXTBOX[13].toolTip(),
        QStringLiteral("Pause 4 Process - Waits for Process.exe to finish running before continuing."));
}

TEST(AllTaskSettingsWindow, SaveDuringARunIsUsedBySlotsNotYetReached)
{
    Harness h;
    h.seed(QStringLiteral("TASK_15_ENABLE_TICKBOX"), QStringLiteral("1"));
    h.seed(QStringLiteral("TASK_15_CMD"), QStringLiteral("/bin/old"));
    MainWindowModel& m = h.start().main;
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(5);
    auto w = test::allTasksWindow(h);
    w.Form_Load();
    w.TASK_CMD_TEXTBOX[15].edit(QStringLiteral("/bin/new"));
    w.SAVE_BUTTON.click();
    h.seconds(20);
    EXPECT_EQ(h.launcher.commands(), QStringList {QStringLiteral("/bin/new")});
}

} // namespace
} // namespace zb
