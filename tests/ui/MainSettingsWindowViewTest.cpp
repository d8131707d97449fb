#include "ui/MainSettingsWindowView.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/WindowPlacement.h"

#include <QMessageBox>
#include <QPushButton>

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
    EXPECT_TRUE(child<QPushButton>(view, "SCHEDULER_SETTINGS_BUTTON")->isEnabled());

    test::clickTick(child<QCheckBox>(view, "AUTOCLOSE_TICKBOX"));
    EXPECT_TRUE(m.AUTOCLOSE_START_BUTTON.enabled());
    QTest::mouseClick(child<QPushButton>(view, "ABOUT_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(opener.opened, std::vector<WindowKind>{WindowKind::About});

    QTest::mouseClick(child<QPushButton>(view, "OK_BUTTON"), Qt::LeftButton);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(h.stored(QStringLiteral("AUTOCLOSE_TICKBOX")), QStringLiteral("1"));
    EXPECT_EQ(h.stored(QStringLiteral("MAIN_SETTINGS-Left")), QStringLiteral("2880")) << "unmoved: kept exactly";
}

TEST(MainSettingsWindowView, EnterPressesOkAndTheCloseBoxStoresOnlyTheMovedPosition)
{
    for (const bool byEnter : {true, false}) {
        SCOPED_TRACE(byEnter ? "Enter" : "close box");
        Harness h;
        h.start();
        auto model = test::mainSettingsWindow(h);
        model.Form_Load();
        MainSettingsWindowView view(model, nullptr);
        view.show();
        QCheckBox* box = child<QCheckBox>(view, "START_EMAIL_TICKBOX");
        box->setFocus();
        test::clickTick(box);
        view.move(240, 120);
        if (byEnter)
            QTest::keyClick(box, Qt::Key_Return);
        else
            view.close();

        EXPECT_TRUE(model.unloaded());
        EXPECT_FALSE(view.isVisible());
        EXPECT_EQ(h.stored(QStringLiteral("START_EMAIL_TICKBOX")),
                  byEnter ? QStringLiteral("1") : QStringLiteral("<absent>"));
        EXPECT_EQ(h.stored(QStringLiteral("MAIN_SETTINGS-Left")),
                  QString::number(WindowPlacement::toTwips(240, view.logicalDpiX())));
    }
}

TEST(MainSettingsWindowView, AFolderThatCannotBeMadeIsReportedInAMessageBoxOwnedByTheWindow)
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
    EXPECT_EQ(owner, &view);
    EXPECT_EQ(h.folders.made.size(), 2);
}

} // namespace
} // namespace zb
