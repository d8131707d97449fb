#include "ui/AllTaskSettingsWindowView.h"
#include "core/ControlTexts.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/ui/ViewTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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
    EXPECT_EQ(view.findChildren<QLineEdit*>().size(), 100) << "sixty fields, twenty limits, twenty slot numbers";
    EXPECT_EQ(child<QLineEdit>(view, "TASK_1_NAME_TEXTBOX")->text(), QStringLiteral("TASK 1"));
    EXPECT_EQ(child<QLineEdit>(view, "TASK_14_NAME_TEXTBOX")->text(), QStringLiteral("Fourteen"));
    EXPECT_EQ(child<QLineEdit>(view, "TASK_14_CMD_TEXTBOX")->text(), QStringLiteral("/bin/fourteen"));
    EXPECT_EQ(child<QLineEdit>(view, "TASK_20_PROCESS_NAME_TEXTBOX")->text(), QStringLiteral("twenty"));
    EXPECT_EQ(child<QLabel>(view, "Label6")->text(), text::kProcessColumn);
    QPushButton* cancel = child<QPushButton>(view, "CANCEL_BUTTON");
    EXPECT_EQ(cancel->text(), QStringLiteral("&Cancel"));
    EXPECT_TRUE(child<QPushButton>(view, "SAVE_BUTTON")->isDefault()) << "the default keeps what was typed";

    QLineEdit* cmd = child<QLineEdit>(view, "TASK_9_CMD_TEXTBOX");
    QTest::keyClicks(cmd, QStringLiteral("/bin/nine"));
    QTest::mouseClick(child<QPushButton>(view, "SAVE_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[9].text(), QStringLiteral("/bin/nine"));
    EXPECT_EQ(cancel->text(), QStringLiteral("&Close")); // Alt+C follows the caption
    EXPECT_TRUE(view.isVisible());

    QLabel* creator = child<QLabel>(view, "ZB_SEQUENTA_CREATOR");
    const QString credit = creator->text();
    QTest::mouseClick(creator, Qt::LeftButton);
    EXPECT_NE(creator->text(), credit);
}

// Answers the "Save changes" question that opens next, after checking it.
void answerNext(QMessageBox::StandardButton answer, const QString& question)
{
    test::onNextModal([answer, question](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), question);
        box->button(answer)->click();
    });
}

TEST(AllTaskSettingsWindowView, EnterAndEscAskBeforeUnsavedEditsAreLostAndCancelDoesNot)
{
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(key == Qt::Key_Return ? "Enter" : "Esc");
        Harness h;
        h.start();
        auto model = test::allTasksWindow(h);
        model.Form_Load();
        AllTaskSettingsWindowView view(model, nullptr);
        view.show();

        // Nothing edited: the key closes without a question.
        QLineEdit* name = child<QLineEdit>(view, "TASK_12_NAME_TEXTBOX");
        name->setFocus();
        QTest::keyClick(name, key);
        EXPECT_FALSE(view.isVisible());
        EXPECT_TRUE(model.unloaded());
    }
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        SCOPED_TRACE(key == Qt::Key_Return ? "Enter with edits" : "Esc with edits");
        Harness h;
        MainWindowModel& m = h.start().main;
        auto model = test::allTasksWindow(h);
        model.Form_Load();
        AllTaskSettingsWindowView view(model, nullptr);
        view.show();
        QLineEdit* name = child<QLineEdit>(view, "TASK_12_NAME_TEXTBOX");
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral(" edited"));
        QTest::keyClicks(child<QLineEdit>(view, "TASK_3_CMD_TEXTBOX"), QStringLiteral("/bin/three"));

        // Cancel in the question keeps the window and the edits.
        answerNext(QMessageBox::Cancel, QStringLiteral("Save changes to TASK 3 and TASK 12?"));
        QTest::keyClick(name, key);
        EXPECT_TRUE(view.isVisible());
        EXPECT_FALSE(model.unloaded());
        EXPECT_EQ(name->text(), QStringLiteral(" editedTASK 12"));

        // Save stores them and closes.
        answerNext(QMessageBox::Save, QStringLiteral("Save changes to TASK 3 and TASK 12?"));
        QTest::keyClick(name, key);
        EXPECT_FALSE(view.isVisible());
        EXPECT_EQ(h.stored(QStringLiteral("TASK_12_TICKBOX_CAPTION")), QStringLiteral(" editedTASK 12"));
        EXPECT_EQ(m.TASK_CMD_TEXTBOX[3].text(), QStringLiteral("/bin/three"));
    }
    // A click on Cancel drops the edits, as it says, without a question.
    Harness h;
    h.start();
    auto model = test::allTasksWindow(h);
    model.Form_Load();
    AllTaskSettingsWindowView view(model, nullptr);
    view.show();
    QTest::keyClicks(child<QLineEdit>(view, "TASK_5_CMD_TEXTBOX"), QStringLiteral("/bin/never"));
    QTest::mouseClick(child<QPushButton>(view, "CANCEL_BUTTON"), Qt::LeftButton);
    EXPECT_FALSE(view.isVisible());
    for (const QString& k : test::writtenKeys(h))
        EXPECT_TRUE(k == QStringLiteral("SETTINGS-Left") || k == QStringLiteral("SETTINGS-Top")) << k.toStdString();
}

} // namespace
} // namespace zb
