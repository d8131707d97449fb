#include "HistoryText.h"

#include "HistoryRows.h"

namespace zb {

namespace {
// The label column, as wide as "TASKS 4–20" and a blank; a longer label
// keeps one blank before its value.
constexpr int kLabelWidth = 11;

void line(QString& out, const QString& label, const QString& value)
{
    out += (label.size() < kLabelWidth ? label.leftJustified(kLabelWidth) : label + QLatin1Char(' ')) + value +
           QLatin1Char('\n');
}
} // namespace

QString historyPassText(const HistoryPass& pass)
{
    QString out;
    line(out, QStringLiteral("Started"), pass.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t")));
    line(out, QStringLiteral("How"), pass.how);
    line(out, QStringLiteral("Took"), pass.took);
    line(out, QStringLiteral("Result"), pass.result);
    // The rows History shows: skipped slots fold into one ("TASKS 4–20").
    for (const HistoryRow& row : historyRows(pass))
        line(out, row.tasks, row.outcome);
    return out;
}

} // namespace zb
