#include "tests/editors/EditorTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

// One program-wide switch: its key, its twin on the main window, its box here
// and that box's value before the load.
struct Switch {
    const char* key;
    TickBox MainWindowModel::*onMain;
    TickBox MainSettingsWindowModel::*here;
    int design;
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

// The user has set every main-window switch against `stored` during this run;
// opening the window brings in line only those whose stored value differs
// from the box's design value here.
TEST(MainSettingsWindow, LoadMirrorsExactlyTheSwitchesStoredAgainstTheirDesignValue)
{
    for (const bool storedDiffers : {false, true}) {
        for (const Switch& s : kSwitches) {
            SCOPED_TRACE(std::string(s.key) + (storedDiffers ? " stored against design" : " stored as design"));
            Harness h;
            const int stored = storedDiffers ? 1 - s.design : s.design;
            h.seed(QLatin1String(s.key), QString::number(stored));
            MainWindowModel& m = h.start().main;
            (m.*s.onMain).click();

            auto w = test::mainSettingsWindow(h);
            w.Form_Load();

            EXPECT_EQ((w.*s.here).value(), stored);
            EXPECT_EQ((m.*s.onMain).value(), storedDiffers ? stored : 1 - stored);
            EXPECT_TRUE(h.store.writes().isEmpty());
        }
    }
}

TEST(MainSettingsWindow, LoadRunsTheMainWindowsOwnReactions)
{
    Harness h;
    h.seed(QStringLiteral("AlwaysOnTopTimer_TICKBOX"), QStringLiteral("0"));
    h.seed(QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    m.AlwaysOnTopTimer_TICKBOX.click();
    m.AUTOCLOSE_TICKBOX.click();
    ASSERT_TRUE(m.AlwaysOnTopTimer.enabled());
    ASSERT_FALSE(m.AUTOCLOSE_START_BUTTON.enabled());

    auto w = test::mainSettingsWindow(h);
    w.Form_Load();

    EXPECT_EQ(w.geometry(), (WindowGeometry{1000, 1000, 9360, 2790}));
    EXPECT_EQ(m.AlwaysOnTopTimer_TICKBOX.value(), 0);
    EXPECT_FALSE(m.AlwaysOnTopTimer.enabled()) << "stored 0 stops the always-on-top timer";
    EXPECT_EQ(m.AUTOCLOSE_TICKBOX.value(), 1);
    EXPECT_TRUE(m.AUTOCLOSE_START_BUTTON.enabled()) << "stored 1 enables the autoclose button again";
    EXPECT_TRUE(w.AlwaysOnTopTimer_TICKBOX.enabled());
}

TEST(MainSettingsWindow, AlwaysOnTopSaysWhyWhereTheDesktopCannotKeepAWindowOnTop)
{
    Harness h;
    h.stacking.problem = QStringLiteral("no topmost layer");
    MainWindowModel& m = h.start().main;
    auto w = test::mainSettingsWindow(h);
    w.Form_Load();
    EXPECT_FALSE(w.AlwaysOnTopTimer_TICKBOX.enabled());
    EXPECT_EQ(w.AlwaysOnTopTimer_TICKBOX.toolTip(), m.AlwaysOnTopTimer_TICKBOX.toolTip());
    EXPECT_FALSE(w.AlwaysOnTopTimer_TICKBOX.toolTip().isEmpty());
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
    EXPECT_TRUE(m.AUTOCLOSE_START_BUTTON.enabled());
    EXPECT_FALSE(m.AlwaysOnTopTimer.enabled());
    EXPECT_TRUE(h.store.writes().isEmpty()) << "nothing is stored before OK";

    w.close();

    EXPECT_EQ(test::writtenKeys(h),
              (QStringList{QStringLiteral("MAIN_SETTINGS-Left"), QStringLiteral("MAIN_SETTINGS-Top")}));
    EXPECT_EQ(m.KITT_AUTOSTART_TICKBOX.value(), 1) << "the mirror stays for this run";
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

    QStringList written;
    for (const auto& write : h.store.writes())
        written << write.key + QLatin1Char('=') + write.value;
    EXPECT_EQ(written,
              (QStringList{QStringLiteral("AlwaysOnTopTimer_TICKBOX=0"), QStringLiteral("AUTOSTART_TICKBOX=0"),
                           QStringLiteral("AUTOCLOSE_TICKBOX=1"), QStringLiteral("KITT_AUTOSTART_TICKBOX=0"),
                           QStringLiteral("START_EMAIL_TICKBOX=0"), QStringLiteral("END_EMAIL_TICKBOX=1"),
                           QStringLiteral("MAIN_SETTINGS-Left=1000"), QStringLiteral("MAIN_SETTINGS-Top=1000")}));
    EXPECT_EQ(h.store.commits(), QList<int>{8}) << "the switches and the position reach the file together";
    EXPECT_EQ(closes, 1);
}

TEST(MainSettingsWindow, ButtonsOpenTheirWindowsAndTheMissingOnesAreDisabled)
{
    const struct {
        Button MainSettingsWindowModel::*button;
        std::vector<WindowKind> opens;
    } cases[] = {
        {&MainSettingsWindowModel::MANAGE_TASKS_BUTTON, {WindowKind::ManageTasks}},
        {&MainSettingsWindowModel::VIEW_SINGLE_SETTINGS_BUTTON, {WindowKind::SingleTaskSettings}},
        {&MainSettingsWindowModel::VIEW_ALL_SETTINGS_BUTTON, {WindowKind::AllTaskSettings}},
        {&MainSettingsWindowModel::ABOUT_BUTTON, {WindowKind::About}},
        {&MainSettingsWindowModel::EMAIL_SETTINGS_BUTTON, {WindowKind::EmailSettings}},
        {&MainSettingsWindowModel::SCHEDULER_SETTINGS_BUTTON, {WindowKind::SchedulerSettings}},
    };
    for (const auto& c : cases) {
        Harness h;
        h.start();
        test::RecordingWindowOpener opener;
        auto w = test::mainSettingsWindow(h, &opener);
        w.Form_Load();
        Button& b = w.*c.button;
        b.click();
        EXPECT_EQ(opener.opened, c.opens) << b.objectName().toStdString();
        EXPECT_EQ(b.enabled(), !c.opens.empty()) << b.objectName().toStdString();
        if (!b.enabled()) {
            EXPECT_TRUE(b.toolTip().contains(QStringLiteral("not available yet"))) << b.toolTip().toStdString();
        }
        EXPECT_FALSE(w.unloaded());
    }
}

TEST(MainSettingsWindow, CreateFoldersMakesBatsThenLogsAndReportsEachFailure)
{
    const QString bats = QStringLiteral("/opt/zb/BATS");
    const QString logs = QStringLiteral("/opt/zb/LOGS");
    const struct {
        QStringList failing;
    } cases[] = {{{}}, {{bats}}, {{logs}}, {{bats, logs}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failing.join(QLatin1Char(' ')).toStdString());
        Harness h;
        h.start();
        for (const QString& f : c.failing)
            h.folders.failing.insert(f);
        auto w = test::mainSettingsWindow(h);
        QStringList shown;
        w.showError = [&](const QString& message) { shown << message; };
        w.Form_Load();

        w.CREATE_FOLDERS_BUTTON.click();

        EXPECT_EQ(h.folders.made, (QStringList{bats, logs})) << "a failure does not stop the second folder";
        ASSERT_EQ(shown.size(), c.failing.size());
        for (int i = 0; i < shown.size(); ++i) {
            EXPECT_TRUE(shown[i].contains(c.failing[i])) << shown[i].toStdString();
            EXPECT_TRUE(shown[i].contains(QStringLiteral("Permission denied"))) << shown[i].toStdString();
        }
    }
}

} // namespace
} // namespace zb
