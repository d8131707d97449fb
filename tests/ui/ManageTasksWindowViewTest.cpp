#include "ui/ManageTasksWindowView.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ViewTestSupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zb {
namespace {

using test::child;
using test::Harness;

TEST(ManageTasksWindowView, ShowsTheStoredSwitchesUnderTheSlotNamesAndOkAppliesThem)
{
    Harness h;
    h.seed(QStringLiteral("TASK_3_ENABLE_TICKBOX"), QStringLiteral("1"));
    h.seed(QStringLiteral("TASK_3_TICKBOX_CAPTION"), QStringLiteral("Backup"));
    h.seed(QStringLiteral("TASK_18_PAUSE_TICKBOX"), QStringLiteral("1"));
    MainWindowModel& m = h.start().main;
    auto model = test::manageTasksWindow(h);
    model.Form_Load();
    ManageTasksWindowView view(model, nullptr);
    view.show();

    EXPECT_EQ(view.objectName(), QStringLiteral("ZB_SEQUENTA_MANAGE_TASKS_WINDOW"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("ZB-SEQUENTA - ENABLE / DISABLE - TASKS / P4P"));
    QCheckBox* three = child<QCheckBox>(view, "TASK_3_ENABLE_TICKBOX");
    EXPECT_TRUE(three->isChecked());
    EXPECT_EQ(three->text(), QStringLiteral("Backup"));
    EXPECT_EQ(child<QCheckBox>(view, "TASK_4_ENABLE_TICKBOX")->text(), QStringLiteral("TASK 4"));
    EXPECT_TRUE(child<QCheckBox>(view, "TASK_18_PAUSE_TICKBOX")->isChecked());
    QLineEdit* light = child<QLineEdit>(view, "TASK_20_LIGHT");
    EXPECT_EQ(light->text(), QStringLiteral("20"));
    EXPECT_TRUE(light->isReadOnly());

    test::clickTick(child<QCheckBox>(view, "TASK_5_PAUSE_TICKBOX"));
    test::clickTick(three);
    EXPECT_EQ(model.TASK_PAUSE_TICKBOX[5].value(), 1);
    EXPECT_EQ(m.TASK_PAUSE_TICKBOX[5].value(), 0) << "only OK applies";

    QTest::mouseClick(child<QPushButton>(view, "OK_BUTTON"), Qt::LeftButton);
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(m.TASK_PAUSE_TICKBOX[5].value(), 1);
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[3].value(), 0);
    EXPECT_EQ(m.TASK_PAUSE_TICKBOX[18].value(), 1);
    EXPECT_EQ(h.stored(QStringLiteral("TASK_5_PAUSE_TICKBOX")), QStringLiteral("1"));
    EXPECT_EQ(h.stored(QStringLiteral("MANAGE_TASKS_WINDOW-Left")), QStringLiteral("1000"));

    // Cancel drops what was ticked since.
    auto again = test::manageTasksWindow(h);
    again.Form_Load();
    ManageTasksWindowView second(again, nullptr);
    second.show();
    test::clickTick(child<QCheckBox>(second, "TASK_7_ENABLE_TICKBOX"));
    QTest::mouseClick(child<QPushButton>(second, "CANCEL_BUTTON"), Qt::LeftButton);
    EXPECT_FALSE(second.isVisible());
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[7].value(), 0);
    EXPECT_EQ(h.stored(QStringLiteral("TASK_7_ENABLE_TICKBOX")), QStringLiteral("0"));
}

} // namespace
} // namespace zb
