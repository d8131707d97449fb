// When closing an editor asks "Save changes to TASK n?", and what each answer
// does.
#include "tests/editors/EditorTestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace zb {
namespace {

using Answer = EditorWindowModel::SaveAnswer;
using test::Harness;

TEST(UnsavedEdits, TheSingleTaskWindowAsksOnlyWhenALoadedSlotWasChanged)
{
    struct Case {
        const char* what;
        std::function<void(SingleTaskSettingsWindowModel&)> act;
        QString question;
    };
    const Case cases[] = {
        {"opened on slot 1, typed", [](auto& w) { w.TASK_1_NAME_TEXTBOX.edit(QStringLiteral("x")); },
         QStringLiteral("Save changes to TASK 1?")},
        {"loaded, untouched", [](auto& w) { w.TASK_LOAD_BUTTON[4].click(); }, {}},
        {"loaded, edited back",
         [](auto& w) {
             w.TASK_LOAD_BUTTON[4].click();
             w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/other"));
             w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/four"));
         },
         {}},
        {"loaded, edited",
         [](auto& w) {
             w.TASK_LOAD_BUTTON[4].click();
             w.TASK_1_PROCESS_NAME_TEXTBOX.edit(QStringLiteral("rsync"));
         },
         QStringLiteral("Save changes to TASK 4?")},
        {"browsed",
         [](auto& w) {
             w.TASK_LOAD_BUTTON[4].click();
             w.BROWSE_FILE_BUTTON.click();
         },
         QStringLiteral("Save changes to TASK 4?")},
        {"edited, then saved",
         [](auto& w) {
             w.TASK_LOAD_BUTTON[4].click();
             w.TASK_1_NAME_TEXTBOX.edit(QStringLiteral("Four"));
             w.SAVE_BUTTON.click();
         },
         {}},
        {"edited, then another slot loaded",
         [](auto& w) {
             w.TASK_LOAD_BUTTON[4].click();
             w.TASK_1_NAME_TEXTBOX.edit(QStringLiteral("Four"));
             w.TASK_LOAD_BUTTON[5].click();
         },
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Harness h;
        h.seed(QStringLiteral("TASK_4_CMD"), QStringLiteral("/bin/four"));
        h.fileDialog.answer = QStringLiteral("/opt/my tools/run");
        h.start();
        auto w = test::singleTaskWindow(h);
        w.Form_Load();
        c.act(w);
        EXPECT_EQ(w.saveChangesQuestion(), c.question);
        // A close with nobody to ask says on stderr what it drops.
        EXPECT_EQ(w.droppedEditsNote().contains(QLatin1String(" were not saved")), !c.question.isEmpty());
    }
}

TEST(UnsavedEdits, EachAnswerDoesWhatItSays)
{
    for (const Answer answer : {Answer::Save, Answer::Discard, Answer::Cancel}) {
        Harness h;
        MainWindowModel& m = h.start().main;
        auto w = test::singleTaskWindow(h);
        w.Form_Load();
        w.TASK_LOAD_BUTTON[7].click();
        w.TASK_1_NAME_TEXTBOX.edit(QStringLiteral("Seven"));
        QStringList asked;
        w.askSaveChanges = [&](const QString& q) {
            asked << q;
            return answer;
        };
        w.OK_BUTTON.click();
        EXPECT_EQ(asked, QStringList{QStringLiteral("Save changes to TASK 7?")});
        EXPECT_EQ(w.unloaded(), answer != Answer::Cancel);
        EXPECT_EQ(m.TASK_ENABLE_TICKBOX[7].caption(),
                  answer == Answer::Save ? QStringLiteral("Seven") : QStringLiteral("TASK 7"));
        EXPECT_EQ(h.stored(QStringLiteral("TASK_7_TICKBOX_CAPTION")),
                  answer == Answer::Save ? QStringLiteral("Seven") : QStringLiteral("<absent>"));
    }
    // Picking another slot asks the same question, and each answer does the same.
    for (const Answer answer : {Answer::Save, Answer::Discard, Answer::Cancel}) {
        Harness h;
        h.start();
        auto w = test::singleTaskWindow(h);
        w.Form_Load();
        w.TASK_LOAD_BUTTON[7].click();
        w.TASK_1_CMD_TEXTBOX.edit(QStringLiteral("/bin/seven"));
        QStringList asked;
        w.askSaveChanges = [&](const QString& q) {
            asked << q;
            return answer;
        };
        w.TASK_LOAD_BUTTON[8].click();
        EXPECT_EQ(asked, QStringList{QStringLiteral("Save changes to TASK 7?")});
        EXPECT_EQ(w.TASK_LIGHT.text(), answer == Answer::Cancel ? QStringLiteral("7") : QStringLiteral("8"));
        EXPECT_EQ(w.TASK_1_CMD_TEXTBOX.text(), answer == Answer::Cancel ? QStringLiteral("/bin/seven") : QString());
        EXPECT_EQ(h.stored(QStringLiteral("TASK_7_CMD")),
                  answer == Answer::Save ? QStringLiteral("/bin/seven") : QStringLiteral("<absent>"));
    }
}

TEST(UnsavedEdits, ManageTasksAsksAboutChangedSwitchesAndItsCancelDropsThemUnasked)
{
    for (const bool cancel : {false, true}) {
        Harness h;
        MainWindowModel& m = h.start().main;
        auto w = test::manageTasksWindow(h);
        w.Form_Load();
        QStringList asked;
        w.askSaveChanges = [&asked](const QString& q) {
            asked << q;
            return Answer::Save;
        };
        w.TASK_ENABLE_TICKBOX[3].click();
        w.TASK_PAUSE_TICKBOX[5].click();
        w.TASK_PAUSE_TICKBOX[5].click(); // and back
        (cancel ? w.CANCEL_BUTTON : w.OK_BUTTON).click();
        EXPECT_TRUE(asked.isEmpty()) << asked.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(m.TASK_ENABLE_TICKBOX[3].value(), cancel ? 0 : 1);
        // Opened again, a change and the close box: asked, and saved.
        auto again = test::manageTasksWindow(h);
        again.Form_Load();
        again.askSaveChanges = w.askSaveChanges;
        again.TASK_PAUSE_TICKBOX[5].click();
        again.close();
        EXPECT_EQ(asked, QStringList{QStringLiteral("Save changes to TASK 5?")});
        EXPECT_EQ(h.stored(QStringLiteral("TASK_5_PAUSE_TICKBOX")), QStringLiteral("1"));
    }
}

TEST(UnsavedEdits, TheAllTasksWindowNamesEveryChangedSlotAndItsCancelButtonDropsThemUnasked)
{
    Harness h;
    h.start();
    auto w = test::allTasksWindow(h);
    w.Form_Load();
    int questions = 0;
    w.askSaveChanges = [&questions](const QString&) {
        ++questions;
        return Answer::Cancel;
    };
    EXPECT_EQ(w.saveChangesQuestion(), QString());
    w.TASK_CMD_TEXTBOX[9].edit(QStringLiteral("/bin/nine"));
    EXPECT_EQ(w.saveChangesQuestion(), QStringLiteral("Save changes to TASK 9?"));
    w.TASK_NAME_TEXTBOX[2].edit(QStringLiteral("Two"));
    w.TASK_PROCESS_NAME_TEXTBOX[20].edit(QStringLiteral("p"));
    EXPECT_EQ(w.saveChangesQuestion(), QStringLiteral("Save changes to TASK 2, TASK 9 and TASK 20?"));

    // The close box asks; Cancel keeps the window.
    w.close();
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(w.unloaded());

    // After a Save the button reads "Close", and closing with new edits asks.
    w.SAVE_BUTTON.click();
    EXPECT_EQ(w.saveChangesQuestion(), QString());
    w.TASK_CMD_TEXTBOX[1].edit(QStringLiteral("/bin/one"));
    w.CANCEL_BUTTON.click();
    EXPECT_EQ(questions, 2);
    EXPECT_FALSE(w.unloaded());

    // "Cancel" on a fresh window drops the edits without a question.
    auto fresh = test::allTasksWindow(h);
    fresh.Form_Load();
    fresh.askSaveChanges = w.askSaveChanges;
    fresh.TASK_CMD_TEXTBOX[1].edit(QStringLiteral("/bin/one"));
    fresh.CANCEL_BUTTON.click();
    EXPECT_EQ(questions, 2);
    EXPECT_TRUE(fresh.unloaded());
    EXPECT_EQ(h.stored(QStringLiteral("TASK_1_CMD")), QString());
}

} // namespace
} // namespace zb
