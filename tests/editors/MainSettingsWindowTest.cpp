#include "tests/editors/EditorTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

// One program-wide switch: its key, its twin on the main window and its box here.
struct Switch {
    const char* key;
    TickBox MainWindowModel::*onMain;
    TickBox MainSettingsWindowModel::*here;
    int design; // the value of the box here before the load
};

const Switch kSwitches[] = {
    {"AUTOSTART_TICKBOX", &MainWindowModel::AUTOSTART_TICKBOX, &MainSettingsWindowModel::AUTOSTART_TICKBOX, 0},
    {"AlwaysOnTopTimer_TICKBOX", &MainWindowModel::AlwaysOnTopTimer_TICKBOX,
        &MainSettingsWindowModel::AlwaysOnTopTimer_TICKBOX, 1},
    {"AUTOCLOSE_TICKBOX", &MainWindowModel::AUTOCLOSE_TICKBOX, &MainSettingsWindowModel::AUTOCLOSE_TICKBOX, 0},
    {"KITT_AUTOSTART_TICKBOX", &MainWindowModel::KITT_AUTOSTART_TICKBOX,
        &MainSettingsWindowModel::KITT_AUTOSTART_TICKBOX, 0},
    {"START_EMAIL_TICKBOX", &MainWindowModel::START_EMAIL_TICKBOX, &MainSettingsWindowModel::START_EMAIL_TICKBOX, 0},
    {"END_EMAIL_TICKBOX", &MainWindowModel::END_EMAIL_TICKBOX, &MainSettingsWindowModel::END_EMAIL_TICKBOX, 0},
};

QString str(const char* s) { return QLatin1String(s); }

TEST(MainSettingsWindow, EmptyStoreOpensAtDefaultsAndLeavesTheMainWindowAlone)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    // The user has changed every switch on the main window during this run.
    for (const Switch& s : kSwitches)
        (m.*s.onMain).click();
    const bool autocloseButton = m.AUTOCLOSE_START_BUTTON.enabled();
    const bool onTopTimer = m.AlwaysOnTopTimer.enabled();

    auto w = test::mainSettingsWindow(h);
    w.Form_Load();

    EXPECT_EQ(w.title(), QStringLiteral("ZB-SEQUENTA - MAIN SETTINGS"));
    EXPECT_EQ(w.geometry(), (WindowGeometry {1000, 1000, 9360, 2790}));
    for (const Switch& s : kSwitches) {
        EXPECT_EQ((w.*s.here).value(), s.design) << s.key;
        EXPECT_EQ((m.*s.onMain).value(), 1 - s.design) << s.key << ": stored equals design, so no mirror";
    }
    EXPECT_EQ(m.AUTOCLOSE_START_BUTTON.enabled(), autocloseButton);
    EXPECT_EQ(m.AlwaysOnTopTimer.enabled(), onTopTimer);
    EXPECT_TRUE(h.store.writes().isEmpty());
}

TEST(MainSettingsWindow, LoadBringsEverySwitchThatDiffersFromItsDesignValueInLineWithTheStore)
{
    for (const Switch& s : kSwitches) {
        SCOPED_TRACE(s.key);
        Harness h;
        const int stored = 1 - s.design;
        h.seed(str(s.key), QString::number(stored));
        MainWindowModel& m = h.start().main;
        (m.*s.onMain).click(); // the user undoes the stored value on the main window
        ASSERT_EQ((m.*s.onMain).value(), s.design);

        auto w = test::mainSettingsWindow(h);
        w.Form_Load();

        EXPECT_EQ((w.*s.here).value(), stored);
        EXPECT_EQ((m.*s.onMain).value(), stored);
        EXPECT_TRUE(h.store.writes().isEmpty());
    }
}

TEST(MainSettingsWindow, StoredZeroForAlwaysOnTopClearsTheMainTickAndStopsItsTimer)
{
    Harness h;
    h.seed(QStringLiteral("AlwaysOnTopTimer_TICKBOX"), QStringLiteral("0"));
    MainWindowModel& m = h.start().main;
    m.AlwaysOnTopTimer_TICKBOX.click();
    ASSERT_TRUE(m.AlwaysOnTopTimer.enabled());

    auto w = test::mainSettingsWindow(h);
    w.Form_Load();

    EXPECT_EQ(m.AlwaysOnTopTimer_TICKBOX.value(), 0);
    EXPECT_FALSE(m.AlwaysOnTopTimer.enabled());
}

TEST(MainSettingsWindow, StoredOneForAutocloseTicksTheMainBoxAndEnablesItsButtonAfterTheUserClearedIt)
{
    Harness h;
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    m.AUTOCLOSE_TICKBOX.click();
    ASSERT_FALSE(m.AUTOCLOSE_START_BUTTON.enabled());

    auto w = test::mainSettingsWindow(h);
    w.Form_Load();

    EXPECT_EQ(m.AUTOCLOSE_TICKBOX.value(), 1);
    EXPECT_TRUE(m.AUTOCLOSE_START_BUTTON.enabled());
}

TEST(MainSettingsWindow, ClicksMirrorAtOnceButTheCloseBoxStoresOnlyThePosition)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    auto w = test::mainSettingsWindow(h);
    w.Form_Load();

    for (const Switch& s : kSwitches) {
        (w.*s.here).click();
        EXPECT_EQ((m.*s.onMain).value(), 1 - s.design) << s.key;
    }
    // The main window's own reactions ran with the mirror.
    EXPECT_TRUE(m.AUTOCLOSE_START_BUTTON.enabled());
    EXPECT_FALSE(m.AlwaysOnTopTimer.enabled());
    w.AlwaysOnTopTimer_TICKBOX.click();
    EXPECT_TRUE(m.AlwaysOnTopTimer.enabled());
    w.AlwaysOnTopTimer_TICKBOX.click();
    EXPECT_TRUE(h.store.writes().isEmpty()) << "nothing is stored before OK";

    w.close();

    EXPECT_EQ(test::writtenKeys(h),
        (QStringList {QStringLiteral("MAIN_SETTINGS-Left"), QStringLiteral("MAIN_SETTINGS-Top")}));
    EXPECT_EQ(m.KITT_AUTOSTART_TICKBOX.value(), 1) << "the mirror stays for this run";
    EXPECT_EQ(h.stored(QStringLiteral("KITT_AUTOSTART_TICKBOX")), QStringLiteral("<absent>"));
}

TEST(MainSettingsWindow, OkStoresTheSixSwitchesInOrderThenCloses)
{
    Harness h;
    h.seed(QStringLiteral("END_EMAIL_TICKBOX"), QStringLiteral("1"));
    h.start();
    auto w = test::mainSettingsWindow(h);
    int closes = 0;
    w.closeRequested = [&] {
        ++closes;
        w.Form_Unload();
    };
    w.Form_Load();
    w.AUTOCLOSE_TICKBOX.click();
    w.AlwaysOnTopTimer_TICKBOX.click();

    w.OK_BUTTON.click();

    const auto& writes = h.store.writes();
    const QStringList expectedKeys {QStringLiteral("AlwaysOnTopTimer_TICKBOX"), QStringLiteral("AUTOSTART_TICKBOX"),
        QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("KITT_AUTOSTART_TICKBOX"),
        QStringLiteral("START_EMAIL_TICKBOX"), QStringLiteral("END_EMAIL_TICKBOX"),
        QStringLiteral("MAIN_SETTINGS-Left"), QStringLiteral("MAIN_SETTINGS-Top")};
    EXPECT_EQ(test::writtenKeys(h), expectedKeys);
    const QStringList expectedValues {QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1"),
        QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("1000"), QStringLiteral("1000")};
    for (int i = 0; i < writes.size() && i < expectedValues.size(); ++i)
        EXPECT_EQ(writes[i].value, expectedValues[i]) << writes[i].key.toStdString();
    EXPECT_EQ(closes, 1);
    EXPECT_TRUE(w.unloaded());
}

TEST(MainSettingsWindow, SwitchesStoredByOkComeBackAtTheNextStart)
{
    Harness h;
    h.start();
    {
        auto w = test::mainSettingsWindow(h);
        w.Form_Load();
        w.AUTOSTART_TICKBOX.click();
        w.KITT_AUTOSTART_TICKBOX.click();
        w.AlwaysOnTopTimer_TICKBOX.click();
        w.OK_BUTTON.click();
    }
    Program next(Services {h.clock, h.store, h.exe, h.launcher, h.processes, h.folders, h.fileDialog, h.files});
    next.start();
    EXPECT_EQ(next.main.AUTOSTART_TICKBOX.value(), 1);
    EXPECT_EQ(next.main.KITT_AUTOSTART_TICKBOX.value(), 1);
    EXPECT_EQ(next.main.AlwaysOnTopTimer_TICKBOX.value(), 0);
    EXPECT_EQ(next.main.AUTOCLOSE_TICKBOX.value(), 0);
}

TEST(MainSettingsWindow, ButtonsOpenTheirWindowsThroughTheOpener)
{
    const struct {
        Button MainSettingsWindowModel::*button;
        WindowKind kind;
    } cases[] = {
        {&MainSettingsWindowModel::MANAGE_TASKS_BUTTON, WindowKind::ManageTasks},
        {&MainSettingsWindowModel::VIEW_SINGLE_SETTINGS_BUTTON, WindowKind::SingleTaskSettings},
        {&MainSettingsWindowModel::VIEW_ALL_SETTINGS_BUTTON, WindowKind::AllTaskSettings},
        {&MainSettingsWindowModel::ABOUT_BUTTON, WindowKind::About},
    };
    for (const auto& c : cases) {
        Harness h;
        h.start();
        test::RecordingWindowOpener opener;
        auto w = test::mainSettingsWindow(h, &opener);
        w.Form_Load();
        (w.*c.button).click();
        EXPECT_EQ(opener.opened, std::vector<WindowKind> {c.kind}) << (w.*c.button).objectName().toStdString();
        EXPECT_FALSE(w.unloaded()) << "this window stays open behind the one it opened";
    }
}

TEST(MainSettingsWindow, EmailAndSchedulerAreShownDisabledWithAReason)
{
    Harness h;
    h.start();
    test::RecordingWindowOpener opener;
    auto w = test::mainSettingsWindow(h, &opener);
    w.Form_Load();
    for (Button* b : {&w.EMAIL_SETTINGS_BUTTON, &w.SCHEDULER_SETTINGS_BUTTON}) {
        EXPECT_FALSE(b->enabled());
        EXPECT_TRUE(b->toolTip().contains(QStringLiteral("not available yet"))) << b->toolTip().toStdString();
        b->click();
    }
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(w.MANAGE_TASKS_BUTTON.toolTip(), QStringLiteral("ENABLE / DISABLE TASKS"));
}

TEST(MainSettingsWindow, CreateFoldersMakesBatsThenLogsAndReportsEachFailure)
{
    const struct {
        const char* name;
        QStringList failing;
        int errors;
    } cases[] = {
        {"both made (or already there)", {}, 0},
        {"BATS refused, LOGS still made", {QStringLiteral("/opt/zb/BATS")}, 1},
        {"LOGS refused", {QStringLiteral("/opt/zb/LOGS")}, 1},
        {"both refused", {QStringLiteral("/opt/zb/BATS"), QStringLiteral("/opt/zb/LOGS")}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Harness h;
        h.start();
        for (const QString& f : c.failing)
            h.folders.failing.insert(f);
        auto w = test::mainSettingsWindow(h);
        QStringList shown;
        w.showError = [&](const QString& message) { shown << message; };
        w.Form_Load();

        w.CREATE_FOLDERS_BUTTON.click();

        EXPECT_EQ(h.folders.made, (QStringList {QStringLiteral("/opt/zb/BATS"), QStringLiteral("/opt/zb/LOGS")}));
        ASSERT_EQ(shown.size(), c.errors);
        for (int i = 0; i < shown.size(); ++i) {
            EXPECT_TRUE(shown[i].contains(c.failing[i])) << shown[i].toStdString();
            EXPECT_TRUE(shown[i].contains(QStringLiteral("Permission denied"))) << shown[i].toStdString();
        }
        EXPECT_TRUE(h.store.writes().isEmpty());
    }
}

TEST(MainSettingsWindow, CreateFoldersBuildsPathsFromTheProgramFolder)
{
    Harness h;
    h.exe.folder_ = QStringLiteral("/home/ops/my tools/");
    h.start();
    auto w = test::mainSettingsWindow(h);
    w.Form_Load();
    w.CREATE_FOLDERS_BUTTON.click();
    EXPECT_EQ(h.folders.made,
        (QStringList {QStringLiteral("/home/ops/my tools/BATS"), QStringLiteral("/home/ops/my tools/LOGS")}));
}

} // namespace
} // namespace zb
