#include "ui/HistoryWindowView.h"
#include "engine/HistoryWindowModel.h"
#include "engine/JournalText.h"
#include "tests/support/Harness.h"
#include "tests/ui/ViewTestSupport.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QTreeWidget>

namespace zb {
namespace {

using K = JournalEvent::Kind;
using test::child;

struct FileJournal : RecordingJournal {
    QStringList lines;
    QString journalFile() const override { return QStringLiteral("/state/zb-runs.log"); }
    QStringList readLines() const override { return lines; }
};

TEST(HistoryWindowView, ListsPassesNewestFirstAndOpensThePickedTasksOutput)
{
    const QDateTime at(QDate(2026, 12, 7), QTime(2, 0), Qt::UTC);
    QTemporaryDir out; // an output file that is still there
    const QString output = out.filePath(QStringLiteral("4.log"));
    QFile(output).open(QIODevice::WriteOnly);
    FileJournal journal;
    journal.lines << journalLine(at, {.kind = K::PassStarted, .start = PassStart::Autostart})
                  << journalLine(at.addSecs(2), {.kind = K::TaskStarted, .slot = 4, .pid = 9, .file = output})
                  << journalLine(at.addSecs(40),
                                 {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")})
                  << QStringLiteral("damaged line") << journalLine(at.addSecs(3600), {.kind = K::PassStarted});
    test::Harness h;
    h.start();
    h.files.present.insert(output);
    h.files.folders.insert(QStringLiteral("/state"));
    HistoryWindowModel model(h.program->settings, journal, h.files);
    model.Form_Load();
    HistoryWindowView view(model, nullptr);
    QStringList opened;
    model.openPath = [&](const QString& path) {
        opened << path;
        return true;
    };
    view.show();

    EXPECT_EQ(view.objectName(), QStringLiteral("ZB_SEQUENTA_HISTORY"));
    QTreeWidget* tree = view.tree();
    ASSERT_EQ(tree->topLevelItemCount(), 2);
    EXPECT_EQ(tree->topLevelItem(0)->text(3), QStringLiteral("INTERRUPTED - TASK 1"));
    QTreeWidgetItem* older = tree->topLevelItem(1);
    EXPECT_EQ(older->text(0), at.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    EXPECT_EQ(older->text(1), QStringLiteral("Autostart"));
    EXPECT_EQ(older->text(2), QStringLiteral("0:00:40"));
    EXPECT_EQ(older->text(3), QStringLiteral("COMPLETED SUCCESSFULLY"));
    ASSERT_EQ(older->childCount(), 1);
    EXPECT_EQ(older->child(0)->text(0), QStringLiteral("TASK 4"));

    auto* openOutput = child<QPushButton>(view, "OPEN_OUTPUT_BUTTON");
    EXPECT_FALSE(openOutput->isEnabled());
    tree->setCurrentItem(older->child(0));
    ASSERT_TRUE(openOutput->isEnabled());
    QTest::mouseClick(openOutput, Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(view, "OPEN_FOLDER_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(opened, (QStringList{output, QStringLiteral("/state")}));
    QTest::mouseClick(child<QPushButton>(view, "CLOSE_BUTTON"), Qt::LeftButton);
    EXPECT_FALSE(view.isVisible());
    EXPECT_TRUE(model.unloaded());
}

TEST(HistoryWindowView, FoldsSkippedSlotsAndShowsThePickedTasksOutputReadOnly)
{
    const QDateTime at(QDate(2026, 12, 7), QTime(2, 0), Qt::UTC);
    FileJournal journal;
    journal.lines << journalLine(at, {.kind = K::PassStarted});
    journal.lines << journalLine(at.addSecs(1),
                                 {.kind = K::TaskStarted, .slot = 1, .pid = 9, .file = QStringLiteral("/o/1.log")});
    for (int n = 2; n <= 20; ++n)
        journal.lines << journalLine(at.addSecs(n), {.kind = K::TaskSkipped, .slot = n});
    test::Harness h;
    h.start();
    h.files.texts[QStringLiteral("/o/1.log")] = "copying\ndone\n";
    HistoryWindowModel model(h.program->settings, journal, h.files);
    model.Form_Load();
    HistoryWindowView view(model, nullptr);
    view.show();

    EXPECT_EQ(child<QLabel>(view, "HISTORY_STATUS_LABEL")->text(), QStringLiteral("1 pass in /state/zb-runs.log"));
    QTreeWidgetItem* pass = view.tree()->topLevelItem(0);
    ASSERT_EQ(pass->childCount(), 2);
    EXPECT_EQ(pass->child(1)->text(0), QStringLiteral("TASKS 2–20"));
    EXPECT_EQ(pass->child(1)->text(3), QStringLiteral("skipped"));

    auto* output = child<QPlainTextEdit>(view, "TASK_OUTPUT_TEXTBOX");
    view.tree()->setCurrentItem(pass->child(0));
    EXPECT_EQ(output->toPlainText(), QStringLiteral("copying\ndone"));
    EXPECT_TRUE(output->isReadOnly());
    // A long output shows its end, the newest lines.
    QByteArray many;
    for (int i = 1; i <= 150; ++i)
        many += "line " + QByteArray::number(i) + '\n';
    h.files.texts[QStringLiteral("/o/1.log")] = many;
    view.tree()->setCurrentItem(pass);
    view.tree()->setCurrentItem(pass->child(0));
    QApplication::processEvents();
    EXPECT_EQ(output->verticalScrollBar()->value(), output->verticalScrollBar()->maximum());
    EXPECT_GT(output->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(child<QLabel>(view, "TASK_OUTPUT_LABEL")->text(), QStringLiteral("Output of TASK 1: /o/1.log"));
    view.tree()->setCurrentItem(pass->child(1));
    EXPECT_EQ(output->toPlainText(), QString());
}

} // namespace
} // namespace zb
