#include "ui/SingleTaskSettingsWindowView.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ViewTestSupport.h"

#include <QApplication>

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace zb {
namespace {

using test::child;
using test::Harness;

TEST(SingleTaskSettingsWindowView, LoadEditBrowseAndSaveThroughTheWidgets)
{
    Harness h;
    h.seed(QStringLiteral("TASK_3_TICKBOX_CAPTION"), QStringLiteral("Mirror"));
    h.seed(QStringLiteral("TASK_3_CMD"), QStringLiteral("/usr/bin/rsync -a /a /b"));
    MainWindowModel& m = h.start().main;
    test::RecordingWindowOpener opener;
    auto model = test::singleTaskWindow(h, &opener);
    model.Form_Load();
    SingleTaskSettingsWindowView view(model, nullptr);
    view.show();

    EXPECT_EQ(view.objectName(), QStringLiteral("ZB_SEQUENTA_SINGLE_SETTINGS_WINDOW"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("ZB-SEQUENTA - SINGLE SETTINGS"));
    QLineEdit* light = child<QLineEdit>(view, "TASK_LIGHT");
    QLineEdit* name = child<QLineEdit>(view, "TASK_1_NAME_TEXTBOX");
    QLineEdit* cmd = child<QLineEdit>(view, "TASK_1_CMD_TEXTBOX");
    EXPECT_EQ(light->text(), QStringLiteral("1")) << "opens on slot 1";
    EXPECT_EQ(cmd->text(), QString());
    EXPECT_EQ(child<QPushButton>(view, "TASK_20_LOAD_BUTTON")->text(), QStringLiteral("TASK20"));

    QTest::mouseClick(child<QPushButton>(view, "TASK_3_LOAD_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(light->text(), QStringLiteral("3"));
    EXPECT_EQ(name->text(), QStringLiteral("Mirror"));
    EXPECT_EQ(cmd->text(), QStringLiteral("/usr/bin/rsync -a /a /b"));

    h.fileDialog.answer = QStringLiteral("/opt/my tools/run me.sh");
    QTest::mouseClick(child<QPushButton>(view, "BROWSE_FILE_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(cmd->text(), QStringLiteral("/opt/my tools/run me.sh"));
    name->selectAll();
    QTest::keyClicks(name, QStringLiteral("Mirror two"));
    QTest::mouseClick(child<QPushButton>(view, "SAVE_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[3].caption(), QStringLiteral("Mirror two"));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[3].text(), QStringLiteral("/opt/my tools/run me.sh"));

    QTest::mouseClick(child<QPushButton>(view, "VIEW_ALL_SETTINGS_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(opener.opened, std::vector<WindowKind>{WindowKind::AllTaskSettings});
    EXPECT_TRUE(view.isVisible());
}

TEST(SingleTaskSettingsWindowView, TheSlotButtonsAreOneTabStopWalkedByArrows)
{
    Harness h;
    h.start();
    auto model = test::singleTaskWindow(h);
    model.Form_Load();
    SingleTaskSettingsWindowView view(model, nullptr);
    view.show();
    QApplication::setActiveWindow(&view);
    const auto focused = [] { return QApplication::focusWidget()->objectName(); };
    ASSERT_EQ(focused(), QStringLiteral("TASK_1_NAME_TEXTBOX"));
    QTest::mouseClick(child<QPushButton>(view, "TASK_3_LOAD_BUTTON"), Qt::LeftButton);
    // Back from the fields lands on the slot last used; arrows move on, Space
    // loads, and one more Shift+Tab leaves the twenty buttons.
    child<QLineEdit>(view, "TASK_1_NAME_TEXTBOX")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(focused(), QStringLiteral("TASK_3_LOAD_BUTTON"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_EQ(focused(), QStringLiteral("TASK_14_LOAD_BUTTON"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(child<QLineEdit>(view, "TASK_LIGHT")->text(), QStringLiteral("14"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_FALSE(focused().endsWith(QStringLiteral("LOAD_BUTTON"))) << focused().toStdString();
}

TEST(SingleTaskSettingsWindowView, EnterInAFieldPressesOkWhichAsksAboutUnsavedEdits)
{
    for (const auto answer : {QMessageBox::Discard, QMessageBox::Save}) {
        SCOPED_TRACE(answer == QMessageBox::Save ? "Save" : "Discard");
        Harness h;
        MainWindowModel& m = h.start().main;
        auto model = test::singleTaskWindow(h);
        model.Form_Load();
        SingleTaskSettingsWindowView view(model, nullptr);
        view.show();
        QTest::mouseClick(child<QPushButton>(view, "TASK_2_LOAD_BUTTON"), Qt::LeftButton);
        QLineEdit* process = child<QLineEdit>(view, "TASK_1_PROCESS_NAME_TEXTBOX");
        process->setFocus();
        QTest::keyClicks(process, QStringLiteral("rsync"));
        test::onNextModal([answer](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), QStringLiteral("Save changes to TASK 2?"));
            box->button(answer)->click();
        });
        QTest::keyClick(process, Qt::Key_Return);

        EXPECT_FALSE(view.isVisible());
        EXPECT_TRUE(model.unloaded());
        EXPECT_EQ(m.TASK_PROCESS_NAME_TEXTBOX[2].text(),
                  answer == QMessageBox::Save ? QStringLiteral("rsync") : QString());
        EXPECT_EQ(h.stored(QStringLiteral("TASK_2_PROCESS_NAME_TEXTBOX")),
                  answer == QMessageBox::Save ? QStringLiteral("rsync") : QStringLiteral("<absent>"));
    }
}

} // namespace
} // namespace zb
