#pragma once

#include <QList>
#include <QString>

namespace zb {

struct HistoryPass;

// One row under a pass in the history: a slot, or several skipped alike.
struct HistoryRow {
    QString tasks; // "TASK 4", or "TASKS 3, 5–20" for a fold
    QString outcome;
    int slot = 0; // the slot of a single row; 0 for a fold
    bool operator==(const HistoryRow&) const = default;
};

// The rows of a pass in slot order, where the skipped slots of one outcome
// fold into one row, at the place of the first of them: a short chain lists
// its own tasks, not a row per empty slot.
QList<HistoryRow> historyRows(const HistoryPass& pass);

// "1 pass", "2 passes": a count with its noun in agreement.
QString countText(qsizetype count, const QString& one, const QString& many);

} // namespace zb
