#include "tests/editors/EditorTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

// The four fields of the window: slot marker, name, command, process name.
struct Fields {
    Fields() = default;
    Fields(QString l, QString n, QString c, QString p)
        : light(std::move(l))
        , name(std::move(n))
        , command(std::move(c))
        , process(std::move(p))
    {
    }
    Fields(const char* l, const char* n, const char* c, const char* p)
        : Fields(QString::fromUtf8(l), QString::fromUtf8(n), QString::fromUtf8(c), QString::fromUtf8(p))
    {
    }
    bool operator==(const Fields&) const = default;

    QString light, name, command, process;
};

std::ostream& operator<<(std::ostream& os, const Fields& f)
{
    return os << '[' << f.light.toStdString() << '|' << f.name.toStdString() << '|' << f.command.toStdString() << '|'
              << f.process.toStdString() << ']';
}

Fields fieldsOf(const SingleTaskSettingsWindowModel& w)
{
    return {w.TASK_LIGHT.text(), w.TASK_1_NAME_TEXTBOX.text(), w.TASK_1_CMD_TEXTBOX.text(),
        w.TASK_1_PROCESS_NAME_TEXTBOX.text()};
}

void seedSlot(Harness& h, int n, const QString& name, const QString& command, const QString& process)
{
    h.seed(QStringLiteral("TASK_%1_TICKBOX_CAPTION").arg(n), name);
    h.seed(QStringLiteral("TASK_%1_CMD").arg(n), command);
    h.seed(QStringLiteral("TASK_%1_PROCESS_NAME_TEXTBOX").arg(n), process);
}

TEST(SingleTaskSettingsWindow, OpensWithNoSlotLoadedAndSaveThenDoesNothing)
{
    Harness h;
    seedSlot(h, 1, QStringLiteral("One"), QStringLiteral("/bin/one"), QStringLiteral("one"));
    MainWindowModel& m = h.start().main;
    auto w = test::singleTaskWindow(h);
    w.Form_Load();

    EXPECT_EQ(w.title(), QStringLiteral("ZB-SEQUENTA - SINGLE SETTINGS"));
    EXPECT_EQ(w.geometry(), (WindowGeometry {1000, 1000, 11760, 4695}));
    EXPECT_EQ(fieldsOf(w), Fields {});
    w.TASK_1_NAME_TEXTBOX.edit(QStringLiteral("typed without a slot"));
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/typed"));
    // The slot marker is not the user's to type in.
    w.TASK_LIGHT.edit(QStringLiteral("1"));
    EXPECT_EQ(w.TASK_LIGHT.text(), QString());

    w.SAVE_BUTTON.click();

    EXPECT_TRUE(h.store.writes().isEmpty());
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[1].caption(), QStringLiteral("One"));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[1].text(), QStringLiteral("/bin/one"));
}

TEST(SingleTaskSettingsWindow, LoadShowsTheStoredSlotOrItsDefaults)
{
    Harness h;
    seedSlot(h, 3, QStringLiteral("Mirror"), QStringLiteral("/usr/bin/rsync -a /src /dst"), QStringLiteral("rsync"));
    seedSlot(h, 8, QString(), QString(), QString());
    MainWindowModel& m = h.start().main;
    m.TASK_CMD_TEXTBOX[12].edit(QStringLiteral("typed on the main window"));
    auto w = test::singleTaskWindow(h);
    w.Form_Load();

    const struct {
        int slot;
        Fields shown;
    } cases[] = {
        {3, {"3", "Mirror", "/usr/bin/rsync -a /src /dst", "rsync"}},
        {12, {"12", "TASK 12", "", ""}}, // read from the store, not the main window
        {8, {"8", "", "", ""}}, // empty values are not missing keys
        {20, {"20", "TASK 20", "", ""}},
    };
    for (const auto& c : cases) {
        w.TASK_LOAD_BUTTON[c.slot].click();
        EXPECT_EQ(fieldsOf(w), c.shown) << "slot " << c.slot;
    }
    EXPECT_TRUE(h.store.writes().isEmpty());
}

TEST(SingleTaskSettingsWindow, LoadingAnotherSlotDiscardsUnsavedEdits)
{
    Harness h;
    seedSlot(h, 3, QStringLiteral("Three"), QStringLiteral("/bin/three"), QString());
    MainWindowModel& m = h.start().main;
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    w.TASK_LOAD_BUTTON[3].click();
    w.TASK_1_NAME_TEXTBOX.edit(QStringLiteral("edited"));
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/edited"));

    w.TASK_LOAD_BUTTON[5].click();
    EXPECT_EQ(fieldsOf(w), (Fields {"5", "TASK 5", "", ""}));
    w.TASK_LOAD_BUTTON[3].click();

    EXPECT_EQ(fieldsOf(w), (Fields {"3", "Three", "/bin/three", ""}));
    EXPECT_TRUE(h.store.writes().isEmpty());
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[3].text(), QStringLiteral("/bin/three"));
}

TEST(SingleTaskSettingsWindow, SaveStoresTheSlotFirstThenSetsOnlyItsThreeMainWindowFields)
{
    Harness h;
    h.seed(QStringLiteral("TASK_7_ENABLE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    w.TASK_LOAD_BUTTON[7].click();
    w.TASK_1_NAME_TEXTBOX.edit(QStringLiteral("  Report, \"weekly\"  "));
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/opt/report/run.sh --week"));
    w.TASK_1_PROCESS_NAME_TEXTBOX.edit(QStringLiteral("run.sh"));
    qsizetype writesWhenMainChanged = -1;
    m.TASK_ENABLE_TICKBOX[7].setChangeListener([&] { writesWhenMainChanged = h.store.writes().size(); });

    w.SAVE_BUTTON.click();

    EXPECT_EQ(writesWhenMainChanged, 3) << "the store is written before the main window";
    EXPECT_EQ(test::writtenKeys(h),
        (QStringList {QStringLiteral("TASK_7_TICKBOX_CAPTION"), QStringLiteral("TASK_7_CMD"),
            QStringLiteral("TASK_7_PROCESS_NAME_TEXTBOX")}));
    EXPECT_EQ(h.stored(QStringLiteral("TASK_7_TICKBOX_CAPTION")), QStringLiteral("  Report, \"weekly\"  "));
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[7].caption(), QStringLiteral("  Report, \"weekly\"  "));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[7].text(), QStringLiteral("/opt/report/run.sh --week"));
    EXPECT_EQ(m.TASK_PROCESS_NAME_TEXTBOX[7].text(), QStringLiteral("run.sh"));
    // The rest of the slot is not this window's business.
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[7].value(), 1);
    EXPECT_EQ(m.TASK_PAUSE_TICKBOX[7].value(), 0);
    EXPECT_EQ(m.TASK_LIGHT[7].text(), QStringLiteral("7"));
    // The window stays as it was.
    EXPECT_FALSE(w.unloaded());
    EXPECT_EQ(fieldsOf(w), (Fields {"7", "  Report, \"weekly\"  ", "/opt/report/run.sh --week", "run.sh"}));
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
    w.TASK_LOAD_BUTTON[9].click();
    w.TASK_LOAD_BUTTON[4].click();
    EXPECT_EQ(w.TASK_1_NAME_TEXTBOX.text(), QString());
}

TEST(SingleTaskSettingsWindow, SaveDuringARunChangesWhatASlotNotYetReachedLaunches)
{
    Harness h;
    for (int n : {1, 2, 6})
        h.seed(QStringLiteral("TASK_%1_ENABLE_TICKBOX").arg(n), QStringLiteral("1"));
    seedSlot(h, 1, QStringLiteral("One"), QStringLiteral("/bin/one"), QString());
    seedSlot(h, 2, QStringLiteral("Two"), QStringLiteral("/bin/two"), QString());
    seedSlot(h, 6, QStringLiteral("Six"), QStringLiteral("/bin/six-old"), QString());
    MainWindowModel& m = h.start().main;
    m.MAIN_START_STOP_BUTTON.click();
    h.seconds(2); // slot 1 has been launched
    ASSERT_EQ(h.launcher.commands(), QStringList {QStringLiteral("/bin/one")});

    // The editor is open while the timers keep ticking.
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    w.TASK_LOAD_BUTTON[6].click();
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/six new"));
    h.seconds(1);
    w.TASK_LOAD_BUTTON[1].click(); // edits to a slot already run change nothing now
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/one-again"));
    w.SAVE_BUTTON.click();
    w.TASK_LOAD_BUTTON[6].click();
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/six new"));
    w.SAVE_BUTTON.click();
    h.seconds(30);

    EXPECT_EQ(h.launcher.commands(),
        (QStringList {QStringLiteral("/bin/one"), QStringLiteral("/bin/two"), QStringLiteral("/bin/six new")}));
}

TEST(SingleTaskSettingsWindow, BrowseAsksForAFileToRunInTheProgramFolder)
{
    Harness h;
    h.start();
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    h.fileDialog.answer = QStringLiteral("/home/ops/My Scripts/nightly run.sh");

    w.BROWSE_FILE_BUTTON.click(); // no slot loaded: browsing still works

    ASSERT_EQ(h.fileDialog.requests.size(), 1);
    const OpenFileRequest& r = h.fileDialog.requests.first();
    EXPECT_EQ(r.title, QStringLiteral("Select File To Run"));
    EXPECT_EQ(r.initialFolder, QStringLiteral("/opt/zb"));
    EXPECT_EQ(r.filters,
        (QStringList {QStringLiteral("Programs and scripts (*)"), QStringLiteral("Shell scripts (*.sh)"),
            QStringLiteral("All files (*)")}));
    EXPECT_EQ(w.TASK_1_CMD_TEXTBOX.text(), QStringLiteral("/home/ops/My Scripts/nightly run.sh")) << "no quotes added";
    EXPECT_EQ(w.TASK_1_PROCESS_NAME_TEXTBOX.text(), QString());
    EXPECT_TRUE(h.store.writes().isEmpty());
}

TEST(SingleTaskSettingsWindow, CancellingTheFileDialogKeepsTheCommand)
{
    Harness h;
    seedSlot(h, 2, QStringLiteral("Two"), QStringLiteral("/bin/two --flag"), QString());
    h.start();
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    w.TASK_LOAD_BUTTON[2].click();
    h.fileDialog.answer.reset();
    w.BROWSE_FILE_BUTTON.click();
    EXPECT_EQ(w.TASK_1_CMD_TEXTBOX.text(), QStringLiteral("/bin/two --flag"));
}

TEST(SingleTaskSettingsWindow, ViewAllSettingsLeavesTheseFieldsAndASaveHereWritesOverIt)
{
    Harness h;
    seedSlot(h, 5, QStringLiteral("Five"), QStringLiteral("/bin/five"), QString());
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

    EXPECT_EQ(opener.opened, std::vector<WindowKind> {WindowKind::AllTaskSettings});
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[5].text(), QStringLiteral("/bin/five-from-all"));
    EXPECT_EQ(fieldsOf(w), (Fields {"5", "Five", "/bin/five", ""})) << "not refreshed";
    w.SAVE_BUTTON.click();
    EXPECT_EQ(h.stored(QStringLiteral("TASK_5_CMD")), QStringLiteral("/bin/five"));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[5].text(), QStringLiteral("/bin/five"));
}

TEST(SingleTaskSettingsWindow, OkClosesAndDropsUnsavedEdits)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    auto w = test::singleTaskWindow(h);
    w.Form_Load();
    w.TASK_LOAD_BUTTON[2].click();
    w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/unsaved"));
    w.OK_BUTTON.click();
    EXPECT_TRUE(w.unloaded());
    EXPECT_EQ(test::writtenKeys(h),
        (QStringList {QStringLiteral("SINGLE_SETTINGS-Left"), QStringLiteral("SINGLE_SETTINGS-Top")}));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[2].text(), QString());
}

} // namespace
} // namespace zb
