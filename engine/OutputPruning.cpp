#include "OutputPruning.h"

#include <QSet>

#include <algorithm>

namespace zb {

namespace {

const QString kTaskPart = QStringLiteral("-task-");

QString stampOf(const QString& outputName) { return outputName.left(outputName.indexOf(kTaskPart)); }

} // namespace

QStringList outputToPrune(const QStringList& files, const QString& beginning, int passesKept)
{
    QSet<QString> earlierSet;
    for (const QString& f : files)
        if (f.contains(kTaskPart) && stampOf(f) < beginning)
            earlierSet.insert(stampOf(f));
    QStringList earlier(earlierSet.cbegin(), earlierSet.cend());
    std::sort(earlier.begin(), earlier.end(), std::greater<>());
    // The pass that begins is one of those kept, and so is the one before it.
    const QStringList old = earlier.mid(std::max(1, passesKept - 1));
    const QSet<QString> oldSet(old.cbegin(), old.cend());
    QStringList prune;
    for (const QString& f : files)
        if (f.contains(kTaskPart) && oldSet.contains(stampOf(f)))
            prune << f;
    return prune;
}

} // namespace zb
