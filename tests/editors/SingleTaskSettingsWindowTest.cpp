#include "tests/editors/EditorTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

// Slot marker, name, command and process name, as one text to compare.
QString fieldsOf(const SingleTaskSettingsWindowModel& w)
{
    return QStringList{w.TASK_LIGHT.text(), w.TASK_1_NAME_TEXTBOX.text(), w.TASK_1_CMD_TEXTBOX.text(),
                       w.TASK_1_PROCESS_NAME_TEXTBOX.text()}
        .join(QLatin1Char('|'));
}

void seedSlot(Harness& h, int n, const QString& name, const QString& command)
{
    h.seed(QStringLiteral("TASK_%1_TICKBOX_CAPTION").arg(n), name);
    h.seed(QStringLiteral("TASK_%1_CMD").arg(n), command);
}

TEST(SingleTaskSettingsWindow, SaveWithNoSlotLoadedDoesNothing)
{
    Harness h;
    seedSlot(h, 1, QStringLiteral("One"), QStringLiteral("/bin/one"));
    MainWindowModel& m = h.start().main;
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    EXPECT_EQ(fieldsOf(w), QStringLiteral("|||"));
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/typed"));
    w.TASK_LIGHT.edit(QStringLiteral("1")); // the marker is not the user's to type in

    w.SAVE_BUTTON.click();

    EXPECT_TRUE(h.store.writes().isEmpty());
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[1].text(), QStringLiteral("/bin/one"));
}

TEST(SingleTaskSettingsWindow, LoadReadsTheStoreAndReplacesUnsavedEdits)
{
    Harness h;
    seedSlot(h, 3, QStringLiteral("Three"), QStringLiteral("/bin/three"));
    MainWindowModel& m = h.start().main;
    m.TASK_CMD_TEXTBOX[12].edit(QStringLiteral("typed on the main window"));
    auto w = test::singleTaskWindow(h);
    w.Form_Load();

    w.TASK_LOAD_BUTTON[3].click();
    EXPECT_EQ(fieldsOf(w), QStringLiteral("3|Three|/bin/three|"));
    w.TASK_1_NAME_TEXTBOX.edit(QStringLiteral("edited"));
    w.TASK_LOAD_BUTTON[12].click();
    EXPECT_EQ(fieldsOf(w), QStringLiteral("12|TASK 12||")) << "never stored: defaults, not the main window";
    w.TASK_LOAD_BUTTON[3].click();
    EXPECT_EQ(fieldsOf(w), QStringLiteral("3|Three|/bin/three|")) << "the edit is gone";
    EXPECT_TRUE(h.store.writes().isEmpty());
}

TEST(SingleTaskSettingsWindow, SaveStoresTheSlotFirstThenSetsOnlyItsThreeMainWindowFields)
{
    Harness h;
    h.seed(QStringLiteral("TASK_7_ENABLE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    w.TASK_LOAD_BUTTON[7].click();
    w.TASK_1_NAME_TEXTBOX.edit(QStringLiteral(" Report, \"weekly\" "));
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/opt/report/run.sh --week"));
    w.TASK_1_PROCESS_NAME_TEXTBOX.edit(QStringLiteral("run.sh"));
    qsizetype writesWhenMainChanged = -1;
    m.TASK_ENABLE_TICKBOX[7].setChangeListener([&] { writesWhenMainChanged = h.store.writes().size(); });

    w.SAVE_BUTTON.click();

    EXPECT_EQ(writesWhenMainChanged, 3);
    EXPECT_EQ(test::writtenKeys(h), (QStringList{QStringLiteral("TASK_7_TICKBOX_CAPTION"), QStringLiteral("TASK_7_CMD"),
                                                 QStringLiteral("TASK_7_PROCESS_NAME_TEXTBOX")}));
    EXPECT_EQ(h.stored(QStringLiteral("TASK_7_TICKBOX_CAPTION")), QStringLiteral(" Report, \"weekly\" "));
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[7].caption(), QStringLiteral(" Report, \"weekly\" "));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[7].text(), QStringLiteral("/opt/report/run.sh --week"));
    EXPECT_EQ(m.TASK_PROCESS_NAME_TEXTBOX[7].text(), QStringLiteral("run.sh"));
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[7].value(), 1) << "the switches are not this window's";
    EXPECT_EQ(fieldsOf(w), QStringLiteral("7| Report, \"weekly\" |/opt/report/run.sh --week|run.sh"));
}

TEST(SingleTaskSettingsWindow, AnEmptyNameIsStoredShownEmptyAndLoadedBackEmpty)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    w.TASK_LOAD_BUTTON[4].click();
    w.TASK_1_NAME_TEXTBOX.edit(QString());
    w.SAVE_BUTTON.click();

    EXPECT_EQ(h.stored(QStringLiteral("TASK_4_TICKBOX_CAPTION")), QString());
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[4].caption(), QString());
    w.TASK_LOAD_BUTTON[4].click();
    EXPECT_EQ(w.TASK_1_NAME_TEXTBOX.text(), QString());
}

TEST(SingleTaskSettingsWindow, SaveDuringARunChangesWhatASlotNotYetReachedLaunches)
{
    Harness h;
    for (int n : {1, 2, 6})
        h.seed(QStringLiteral("TASK_%1_ENABLE_TICKBOX").arg(n), QStringLiteral("1"));
    seedSlot(h, 1, QStringLiteral("One"), QStringLiteral("/bin/one"));
    seedSlot(h, 2, QStringLiteral("Two"), QStringLiteral("/bin/two"));
    seedSlot(h, 6, QStringLiteral("Six"), QStringLiteral("/bin/six-old"));
    MainWindowModel& m = h.start().main;
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(2);
    ASSERT_EQ(h.launcher.commands(), QStringList{QStringLiteral("/bin/one")});

    // The window is open while the chain goes on.
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    w.TASK_LOAD_BUTTON[6].click();
    h.seconds(1);
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/six new"));
    w.SAVE_BUTTON.click();
    h.seconds(30);

    EXPECT_EQ(h.launcher.commands(),
              (QStringList{QStringLiteral("/bin/one"), QStringLiteral("/bin/two"), QStringLiteral("/bin/six new")}));
}

TEST(SingleTaskSettingsWindow, BrowsePutsTheChosenPathIntoTheCommandAsGiven)
{
    Harness h;
    h.start();
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/before"));

    h.fileDialog.answer.reset();
    w.BROWSE_FILE_BUTTON.click();
    EXPECT_EQ(w.TASK_1_CMD_TEXTBOX.text(), QStringLiteral("/bin/before")) << "cancelled";

    h.fileDialog.answer = QStringLiteral("/home/ops/My Scripts/nightly run.sh");
    w.BROWSE_FILE_BUTTON.click(); // with no slot loaded, too
    EXPECT_EQ(w.TASK_1_CMD_TEXTBOX.text(), QStringLiteral("/home/ops/My Scripts/nightly run.sh"));

    const OpenFileRequest& r = h.fileDialog.requests.last();
    EXPECT_EQ(r.title, QStringLiteral("Select File To Run"));
    EXPECT_EQ(r.initialFolder, QStringLiteral("/opt/zb"));
    EXPECT_EQ(r.filters, (QStringList{QStringLiteral("Programs and scripts (*)"),
                                      QStringLiteral("Shell scripts (*.sh)"), QStringLiteral("All files (*)")}));
    EXPECT_TRUE(h.store.writes().isEmpty());
}

TEST(SingleTaskSettingsWindow, ViewAllSettingsLeavesTheseFieldsAndASaveHereWritesOverIt)
{
    Harness h;
    seedSlot(h, 5, QStringLiteral("Five"), QStringLiteral("/bin/five"));
    MainWindowModel& m = h.start().main;
    test::RecordingWindowOpener opener;
    opener.onShow = [&](WindowKind) {
        auto all = test::allTasksWindow(h);
        all.Form_Load();
        all.TASK_CMD_TEXTBOX[5].edit(QStringLiteral("/bin/five-from-all"));
        all.SAVE_BUTTON.click();
        all.CANCEL_BUTTON.click();
    };
    auto w = test::singleTaskWindow(h, &opener);
    w.Form_Load();
    w.TASK_LOAD_BUTTON[5].click();

    w.VIEW_ALL_SETTINGS_BUTTON.click();
    EXPECT_EQ(opener.opened, std::vector<WindowKind>{WindowKind::AllTaskSettings});
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[5].text(), QStringLiteral("/bin/five-from-all"));
    EXPECT_EQ(fieldsOf(w), QStringLiteral("5|Five|/bin/five|")) << "not refreshed";

    w.SAVE_BUTTON.click();
    EXPECT_EQ(h.stored(QStringLiteral("TASK_5_CMD")), QStringLiteral("/bin/five"));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[5].text(), QStringLiteral("/bin/five"));
}

} // namespace
} // namespace zb
