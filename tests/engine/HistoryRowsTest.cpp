#include "engine/HistoryRows.h"
#include "engine/PassAccount.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

HistorySlot ran(int n)
{
    return {
        .slot = n, .outcome = QStringLiteral("exited with 0 after 0:00:05"), .outputFile = QStringLiteral("/o.log")};
}
HistorySlot skipped(int n, const QString& why = QStringLiteral("skipped"))
{
    return {.slot = n, .outcome = why, .outputFile = {}, .failed = false, .skipped = true};
}

QStringList shown(const QList<HistoryRow>& rows)
{
    QStringList out;
    for (const HistoryRow& r : rows)
        out << QStringLiteral("%1 [%2] %3").arg(r.tasks).arg(r.slot).arg(r.outcome);
    return out;
}

TEST(HistoryRows, SkippedSlotsFoldIntoOneRowWhereTheFirstOfThemWas)
{
    struct Case {
        const char* what;
        QList<HistorySlot> slots;
        QStringList rows;
    };
    QList<HistorySlot> threeOfTwenty{ran(1), ran(2), ran(3)};
    for (int n = 4; n <= 20; ++n)
        threeOfTwenty << skipped(n);
    const Case cases[] = {
        {"a three-task chain",
         threeOfTwenty,
         {QStringLiteral("TASK 1 [1] exited with 0 after 0:00:05"),
          QStringLiteral("TASK 2 [2] exited with 0 after 0:00:05"),
          QStringLiteral("TASK 3 [3] exited with 0 after 0:00:05"), QStringLiteral("TASKS 4–20 [0] skipped")}},
        {"one skip keeps its own row; a slot with a name of its own is named",
         {ran(1),
          skipped(2),
          {.slot = 3, .outcome = QStringLiteral("exited with 0 after 0:00:05"), .name = QStringLiteral("Backup")}},
         {QStringLiteral("TASK 1 [1] exited with 0 after 0:00:05"), QStringLiteral("TASK 2 [2] skipped"),
          QStringLiteral("TASK 3 (Backup) [3] exited with 0 after 0:00:05")}},
        {"gaps and short runs",
         {skipped(1), skipped(2), ran(3), skipped(5), skipped(6), skipped(7), skipped(9)},
         {QStringLiteral("TASKS 1, 2, 5–7, 9 [0] skipped"), QStringLiteral("TASK 3 [3] exited with 0 after 0:00:05")}},
        {"each reason its own fold",
         {skipped(1), skipped(2, QStringLiteral("skipped: no command")), skipped(3),
          skipped(4, QStringLiteral("skipped: no command"))},
         {QStringLiteral("TASKS 1, 3 [0] skipped"), QStringLiteral("TASKS 2, 4 [0] skipped: no command")}},
        {"nothing", {}, {}},
    };
    for (const Case& c : cases) {
        HistoryPass pass;
        pass.slots = c.slots;
        EXPECT_EQ(shown(historyRows(pass)), c.rows) << c.what;
    }
}

TEST(HistoryRows, CountsAgreeInNumber)
{
    for (const auto& [n, text] : {std::pair{0, "0 passes"}, {1, "1 pass"}, {2, "2 passes"}})
        EXPECT_EQ(countText(n, QStringLiteral("pass"), QStringLiteral("passes")), QLatin1String(text)) << n;
}

} // namespace
} // namespace zb
