#include "ui/AllTaskSettingsWindowView.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ViewTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zb {
namespace {

using test::child;
using test::Harness;

TEST(AllTaskSettingsWindowView, ShowsAllSixtyValuesAndSaveTurnsCancelIntoClose)
{
    Harness h;
    h.seed(QStringLiteral("TASK_14_TICKBOX_CAPTION"), QStringLiteral("Fourteen"));
    h.seed(QStringLiteral("TASK_14_CMD"), QStringLiteral("/bin/fourteen"));
    h.seed(QStringLiteral("TASK_20_PROCESS_NAME_TEXTBOX"), QStringLiteral("twenty"));
    MainWindowModel& m = h.start().main;
    auto model = test::allTasksWindow(h);
    model.Form_Load();
    AllTaskSettingsWindowView view(model, nullptr);
    view.show();

    EXPECT_EQ(view.objectName(), QStringLiteral("ZB_SEQUENTA_SETTINGS"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("ZB-SEQUENTA - SETTINGS"));
    EXPECT_EQ(view.findChildren<QLineEdit*>().size(), 80) << "sixty fields and twenty slot numbers";
    EXPECT_EQ(child<QLineEdit>(view, "TASK_1_NAME_TEXTBOX")->text(), QStringLiteral("TASK 1"));
    EXPECT_EQ(child<QLineEdit>(view, "TASK_14_NAME_TEXTBOX")->text(), QStringLiteral("Fourteen"));
    EXPECT_EQ(child<QLineEdit>(view, "TASK_14_CMD_TEXTBOX")->text(), QStringLiteral("/bin/fourteen"));
    EXPECT_EQ(child<QLineEdit>(view, "TASK_20_PROCESS_NAME_TEXTBOX")->text(), QStringLiteral("twenty"));
    EXPECT_EQ(child<QLabel>(view, "Label6")->text(), QStringLiteral(" P-4-P - Process.exe Name"));
    QPushButton* cancel = child<QPushButton>(view, "CANCEL_BUTTON");
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));

    QLineEdit* cmd = child<QLineEdit>(view, "TASK_9_CMD_TEXTBOX");
    QTest::keyClicks(cmd, QStringLiteral("/bin/nine"));
    QTest::mouseClick(child<QPushButton>(view, "SAVE_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[9].text(), QStringLiteral("/bin/nine"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Close"));
    EXPECT_TRUE(view.isVisible());

    QLabel* creator = child<QLabel>(view, "ZB_SEQUENTA_CREATOR");
    const QString credit = creator->text();
    QTest::mouseClick(creator, Qt::LeftButton);
    EXPECT_NE(creator->text(), credit);
}

TEST(AllTaskSettingsWindowView, EnterAndEscBothCloseAndStoreOnlyThePosition)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(key == Qt::Key_Return ? "Enter" : "Esc");
        Harness h;
        MainWindowModel& m = h.start().main;
        auto model = test::allTasksWindow(h);
        model.Form_Load();
        AllTaskSettingsWindowView view(model, nullptr);
        view.show();
        QLineEdit* name = child<QLineEdit>(view, "TASK_12_NAME_TEXTBOX");
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral(" edited"));
        QTest::keyClick(name, key);

        EXPECT_FALSE(view.isVisible());
        EXPECT_TRUE(model.unloaded());
        for (const QString& k : test::writtenKeys(h))
            EXPECT_TRUE(k == QStringLiteral("SETTINGS-Left") || k == QStringLiteral("SETTINGS-Top")) << k.toStdString();
        EXPECT_EQ(h.stored(QStringLiteral("SETTINGS-Left")), QStringLiteral("1000"));
        EXPECT_EQ(m.TASK_ENABLE_TICKBOX[12].caption(), QStringLiteral("TASK 12"));
    }
}

} // namespace
} // namespace zb
