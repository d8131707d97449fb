#include "tests/editors/EditorTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

const QStringList kPosition{QStringLiteral("SETTINGS-Left"), QStringLiteral("SETTINGS-Top")};

bool onlyPositionWritten(const Harness& h)
{
    for (const QString& key : test::writtenKeys(h))
        if (!kPosition.contains(key))
            return false;
    return !h.store.writes().isEmpty();
}

TEST(AllTaskSettingsWindow, FirstSaveCreatesAllSixtyKeysThenSetsTheMainWindow)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    m.TASK_CMD_TEXTBOX[4].edit(QStringLiteral("typed, never saved"));
    auto w = test::allTasksWindow(h);
    w.Form_Load();
    w.setPosition(2000, 3000.5);
    w.TASK_PROCESS_NAME_TEXTBOX[11].edit(QStringLiteral("sync"));
    qsizetype writesWhenMainChanged = -1;
    m.TASK_PROCESS_NAME_TEXTBOX[11].setChangeListener([&] {
        writesWhenMainChanged = h.store.writes().size();
        EXPECT_EQ(h.store.commits(), QList<int>{62}) << "one commit, before the main window changes";
    });
    EXPECT_EQ(w.CANCEL_BUTTON.caption(), QStringLiteral("Cancel"));

    w.SAVE_BUTTON.click();

    EXPECT_EQ(test::writtenKeys(h), kPosition + test::slotKeys("TICKBOX_CAPTION") + test::slotKeys("CMD") +
                                        test::slotKeys("PROCESS_NAME_TEXTBOX"));
    EXPECT_EQ(h.stored(QStringLiteral("SETTINGS-Top")), QStringLiteral("3000.5"));
    EXPECT_EQ(writesWhenMainChanged, 62) << "the store is written before the main window";
    for (int n = 1; n <= 20; ++n) {
        const QString process = n == 11 ? QStringLiteral("sync") : QString();
        EXPECT_EQ(h.stored(QStringLiteral("TASK_%1_TICKBOX_CAPTION").arg(n)), QStringLiteral("TASK %1").arg(n));
        EXPECT_EQ(h.stored(QStringLiteral("TASK_%1_CMD").arg(n)), QString());
        EXPECT_EQ(h.stored(QStringLiteral("TASK_%1_PROCESS_NAME_TEXTBOX").arg(n)), process);
        EXPECT_EQ(m.TASK_ENABLE_TICKBOX[n].caption(), QStringLiteral("TASK %1").arg(n));
        EXPECT_EQ(m.TASK_CMD_TEXTBOX[n].text(), QString());
        EXPECT_EQ(m.TASK_PROCESS_NAME_TEXTBOX[n].text(), process);
    }
    EXPECT_EQ(w.CANCEL_BUTTON.caption(), QStringLiteral("Close"));
    EXPECT_FALSE(w.unloaded());
}

TEST(AllTaskSettingsWindow, CloseAfterSaveStoresOnlyThePositionAndEditsAfterSaveAreLost)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    {
        auto w = test::allTasksWindow(h);
        w.Form_Load();
        w.TASK_CMD_TEXTBOX[2].edit(QStringLiteral("/bin/saved"));
        w.SAVE_BUTTON.click();
        w.TASK_CMD_TEXTBOX[2].edit(QStringLiteral("/bin/after save"));
        h.store.clearWrites();

        w.CANCEL_BUTTON.click();

        EXPECT_TRUE(w.unloaded());
        EXPECT_TRUE(onlyPositionWritten(h));
    }
    EXPECT_EQ(h.stored(QStringLiteral("TASK_2_CMD")), QStringLiteral("/bin/saved"));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[2].text(), QStringLiteral("/bin/saved"));

    auto again = test::allTasksWindow(h);
    again.Form_Load();
    EXPECT_EQ(again.CANCEL_BUTTON.caption(), QStringLiteral("Cancel"));
    EXPECT_EQ(again.TASK_CMD_TEXTBOX[2].text(), QStringLiteral("/bin/saved"));
}

TEST(AllTaskSettingsWindow, CancelAndTheCloseBoxStoreThePositionAndDropEdits)
{
    for (const bool byCancel : {true, false}) {
        SCOPED_TRACE(byCancel ? "Cancel" : "close box");
        Harness h;
        h.seed(QStringLiteral("TASK_1_TICKBOX_CAPTION"), QString());
        MainWindowModel& m = h.start().main;
        auto w = test::allTasksWindow(h);
        w.Form_Load();
        EXPECT_EQ(w.TASK_NAME_TEXTBOX[1].text(), QString()) << "an empty stored name is not the default";
        w.setPosition(1500, 1600);
        w.TASK_CMD_TEXTBOX[1].edit(QStringLiteral("/bin/never"));
        if (byCancel)
            w.CANCEL_BUTTON.click();
        else
            w.close();
        EXPECT_TRUE(onlyPositionWritten(h));
        EXPECT_EQ(h.stored(QStringLiteral("SETTINGS-Left")), QStringLiteral("1500"));
        EXPECT_EQ(m.TASK_CMD_TEXTBOX[1].text(), QString());
    }
}

} // namespace
} // namespace zb
