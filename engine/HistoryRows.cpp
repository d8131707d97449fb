#include "HistoryRows.h"

#include "PassAccount.h"

namespace zb {

namespace {

// "3, 5–20": slot numbers with runs of three or more written as ranges.
QString slotList(const QList<int>& slots)
{
    QStringList parts;
    for (qsizetype i = 0; i < slots.size();) {
        qsizetype j = i;
        while (j + 1 < slots.size() && slots[j + 1] == slots[j] + 1)
            ++j;
        if (j - i >= 2) {
            parts << QStringLiteral("%1–%2").arg(slots[i]).arg(slots[j]);
        } else {
            for (qsizetype k = i; k <= j; ++k)
                parts << QString::number(slots[k]);
        }
        i = j + 1;
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace

QList<HistoryRow> historyRows(const HistoryPass& pass)
{
    QList<HistoryRow> rows;
    // Where each skip outcome's fold sits in `rows`, and its slots.
    QList<QString> foldOutcomes;
    QList<qsizetype> foldRows;
    QList<QList<int>> foldSlots;
    for (const HistorySlot& s : pass.slots) {
        if (!s.skipped) {
            rows.append({slotLabel(s.slot, s.name), s.outcome, s.slot});
            continue;
        }
        const qsizetype fold = foldOutcomes.indexOf(s.outcome);
        if (fold >= 0) {
            foldSlots[fold].append(s.slot);
            continue;
        }
        foldOutcomes.append(s.outcome);
        foldRows.append(rows.size());
        foldSlots.append(QList<int>{s.slot});
        rows.append({QString(), s.outcome, s.slot});
    }
    for (qsizetype f = 0; f < foldRows.size(); ++f) {
        HistoryRow& row = rows[foldRows[f]];
        if (foldSlots[f].size() == 1) {
            row.tasks = QStringLiteral("TASK %1").arg(foldSlots[f].first());
        } else {
            row.tasks = QStringLiteral("TASKS ") + slotList(foldSlots[f]);
            row.slot = 0;
        }
    }
    return rows;
}

QString countText(qsizetype count, const QString& one, const QString& many)
{
    return QStringLiteral("%1 %2").arg(count).arg(count == 1 ? one : many);
}

} // namespace zb
