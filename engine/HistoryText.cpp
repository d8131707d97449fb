#include "HistoryText.h"

namespace zb {

namespace {
// The label column, as wide as "TASK 11-20" and a blank.
constexpr int kLabelWidth = 11;
const QString kSkipped = QStringLiteral("skipped");

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
    // Slots skipped one after another take one line: "TASK 4-20  skipped".
    for (qsizetype i = 0; i < pass.slots.size(); ++i) {
        const HistorySlot& s = pass.slots[i];
        qsizetype last = i;
        while (s.outcome == kSkipped && last + 1 < pass.slots.size() && pass.slots[last + 1].outcome == kSkipped &&
               pass.slots[last + 1].slot == pass.slots[last].slot + 1)
            ++last;
        const QString label = last == i ? QStringLiteral("TASK %1").arg(s.slot)
                                        : QStringLiteral("TASK %1-%2").arg(s.slot).arg(pass.slots[last].slot);
        line(out, label, s.outcome);
        i = last;
    }
    return out;
}

} // namespace zb
