#include "ui/HistoryWindowView.h"
#include "engine/HistoryWindowModel.h"
#include "engine/JournalText.h"
#include "tests/support/Harness.h"
#include "tests/ui/ViewTestSupport.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
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
    HistoryWindowModel model(h.program->settings, journal);
    model.Form_Load();
    HistoryWindowView view(model, nullptr);
    QStringList opened;
    model.openPath = [&](const QString& path) { opened << path; };
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

} // namespace
} // namespace zb
