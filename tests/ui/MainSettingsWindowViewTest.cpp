#include "ui/MainSettingsWindowView.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/WindowPlacement.h"

#include <QCheckBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace zb {
namespace {

using test::child;
using test::Harness;

TEST(MainSettingsWindowView, ShowsTheStoredSwitchesAndHandsClicksToTheModel)
{
    Harness h;
    h.seed(QStringLiteral("KITT_AUTOSTART_TICKBOX"), QStringLiteral("1"));
    h.seed(QStringLiteral("MAIN_SETTINGS-Left"), QStringLiteral("2880"));
    h.seed(QStringLiteral("MAIN_SETTINGS-Top"), QStringLiteral("1440"));
    MainWindowModel& m = h.start().main;
    test::RecordingWindowOpener opener;
    auto model = test::mainSettingsWindow(h, &opener);
    model.Form_Load();
    MainSettingsWindowView view(model, nullptr);
    view.show();

    EXPECT_EQ(view.objectName(), QStringLiteral("ZB_SEQUENTA_MAIN_SETTINGS_WINDOW"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("ZB-SEQUENTA - MAIN SETTINGS"));
    const int dpi = view.logicalDpiX();
    EXPECT_EQ(view.pos(), QPoint(WindowPlacement::toPixels(2880, dpi), WindowPlacement::toPixels(1440, dpi)));
    EXPECT_TRUE(child<QCheckBox>(view, "KITT_AUTOSTART_TICKBOX")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(view, "AlwaysOnTopTimer_TICKBOX")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(view, "AUTOSTART_TICKBOX")->isChecked());
    EXPECT_EQ(child<QLabel>(view, "FIRST_RUN_LABEL")->text(),
              QStringLiteral("ALL SEQUENTA'S CAN USE THE SAME \"HOME FOLDER\""));
    QPushButton* email = child<QPushButton>(view, "EMAIL_SETTINGS_BUTTON");
    EXPECT_FALSE(email->isEnabled());
    EXPECT_FALSE(email->toolTip().isEmpty());

    test::clickTick(child<QCheckBox>(view, "AUTOCLOSE_TICKBOX"));
    EXPECT_EQ(m.AUTOCLOSE_TICKBOX.value(), 1);
    EXPECT_TRUE(m.AUTOCLOSE_START_BUTTON.enabled());
    QTest::mouseClick(child<QPushButton>(view, "VIEW_SINGLE_SETTINGS_BUTTON"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(view, "ABOUT_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(opener.opened, (std::vector<WindowKind>{WindowKind::SingleTaskSettings, WindowKind::About}));

    QTest::mouseClick(child<QPushButton>(view, "OK_BUTTON"), Qt::LeftButton);
    EXPECT_FALSE(view.isVisible());
    EXPECT_TRUE(model.unloaded());
    EXPECT_EQ(h.stored(QStringLiteral("AUTOCLOSE_TICKBOX")), QStringLiteral("1"));
    EXPECT_EQ(h.stored(QStringLiteral("MAIN_SETTINGS-Left")), QStringLiteral("2880")) << "unmoved: kept exactly";
}

TEST(MainSettingsWindowView, EnterPressesOk)
{
    Harness h;
    h.start();
    auto model = test::mainSettingsWindow(h);
    model.Form_Load();
    MainSettingsWindowView view(model, nullptr);
    view.show();
    QCheckBox* box = child<QCheckBox>(view, "START_EMAIL_TICKBOX");
    box->setFocus();
    test::clickTick(box);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(model.unloaded());
    EXPECT_EQ(h.stored(QStringLiteral("START_EMAIL_TICKBOX")), QStringLiteral("1"));
}

TEST(MainSettingsWindowView, TheCloseBoxStoresTheMovedPositionButNoSwitch)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    auto model = test::mainSettingsWindow(h);
    model.Form_Load();
    MainSettingsWindowView view(model, nullptr);
    view.show();
    test::clickTick(child<QCheckBox>(view, "END_EMAIL_TICKBOX"));
    view.move(240, 120);

    view.close();

    const int dpi = view.logicalDpiX();
    EXPECT_EQ(test::writtenKeys(h),
              (QStringList{QStringLiteral("MAIN_SETTINGS-Left"), QStringLiteral("MAIN_SETTINGS-Top")}));
    EXPECT_EQ(h.stored(QStringLiteral("MAIN_SETTINGS-Left")), QString::number(WindowPlacement::toTwips(240, dpi)));
    EXPECT_EQ(h.stored(QStringLiteral("MAIN_SETTINGS-Top")), QString::number(WindowPlacement::toTwips(120, dpi)));
    EXPECT_EQ(m.END_EMAIL_TICKBOX.value(), 1);
}

TEST(MainSettingsWindowView, AFolderThatCannotBeMadeIsReportedInAMessageBox)
{
    Harness h;
    h.start();
    h.folders.failing.insert(QStringLiteral("/opt/zb/BATS"));
    auto model = test::mainSettingsWindow(h);
    model.Form_Load();
    MainSettingsWindowView view(model, nullptr);
    view.show();

    QString shown;
    QWidget* owner = nullptr;
    test::onNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        owner = box->parentWidget();
        box->accept();
    });
    child<QPushButton>(view, "CREATE_FOLDERS_BUTTON")->click();

    EXPECT_TRUE(shown.contains(QStringLiteral("/opt/zb/BATS"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Permission denied"))) << shown.toStdString();
    EXPECT_EQ(owner, &view);
    EXPECT_EQ(h.folders.made.size(), 2);
    EXPECT_TRUE(view.isVisible());
}

} // namespace
} // namespace zb
