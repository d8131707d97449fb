#include "HistoryText.h"

namespace zb {

namespace {
// The label column, as wide as "TASK 20" and a blank.
constexpr int kLabelWidth = 10;

void line(QString& out, const QString& label, const QString& value)
{
    out += label.leftJustified(kLabelWidth) + value + QLatin1Char('\n');
}
} // namespace

QString historyPassText(const HistoryPass& pass)
{
    QString out;
    line(out, QStringLiteral("Started"), pass.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t")));
    line(out, QStringLiteral("How"), pass.how);
    line(out, QStringLiteral("Took"), pass.took);
    line(out, QStringLiteral("Result"), pass.result);
    for (const HistorySlot& s : pass.slots)
        line(out, QStringLiteral("TASK %1").arg(s.slot), s.outcome);
    return out;
}

} // namespace zb
