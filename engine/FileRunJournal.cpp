#include "FileRunJournal.h"

#include "JournalText.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>

namespace zb {

namespace {

const QString kTaskPart = QStringLiteral("-task-");

QString stampOf(const QString& outputName) { return outputName.left(outputName.indexOf(kTaskPart)); }

} // namespace

FileRunJournal::FileRunJournal(std::unique_ptr<JournalFile> file, int outputPasses)
    : file_(std::move(file)),
      outputPasses_(outputPasses)
{}

void FileRunJournal::record(const JournalEvent& event, const QString& pass)
{
    const QDateTime when = now();
    if (event.kind == JournalEvent::Kind::PassStarted) {
        passStamp_ = when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
        pruneOutput();
    }
    file_->append(journalLine(when, event, pass));
}

QString FileRunJournal::taskOutputFile(int n)
{
    if (file_->outputFolder().isEmpty())
        return QString();
    if (passStamp_.isEmpty())
        passStamp_ = now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return file_->outputFolder() + QLatin1Char('/') + passStamp_ + kTaskPart + QString::number(n) +
           QStringLiteral(".log");
}

void FileRunJournal::pruneOutput()
{
    QStringList files = file_->outputFiles();
    files.removeIf([](const QString& f) { return !f.contains(kTaskPart); });
    if (files.isEmpty())
        return;
    // Passes in the order the journal tells them, not by the stamps in the
    // names: the clock may have been set back. Output the journal no longer
    // names is older than any it names.
    const QString folder = QFileInfo(file_->outputFolder()).absoluteFilePath();
    QHash<QString, qsizetype> order;
    const QStringList lines = file_->readLines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].contains(QLatin1String(" task-started ")))
            continue;
        const std::optional<JournalEntry> entry = parseJournalLine(lines[i]);
        if (!entry || QFileInfo(entry->event.file).absolutePath() != folder)
            continue;
        order.insert(stampOf(QFileInfo(entry->event.file).fileName()), i);
    }
    QSet<QString> stampSet;
    for (const QString& f : files)
        stampSet.insert(stampOf(f));
    stampSet.remove(passStamp_);
    QStringList stamps(stampSet.cbegin(), stampSet.cend());
    std::sort(stamps.begin(), stamps.end(), [&order](const QString& a, const QString& b) {
        return std::pair(order.value(a, -1), a) > std::pair(order.value(b, -1), b);
    });
    // The pass that begins is one of those kept, and so is the one before it.
    const QStringList old = stamps.mid(std::max(1, outputPasses_ - 1));
    const QSet<QString> oldSet(old.cbegin(), old.cend());
    for (const QString& f : files)
        if (oldSet.contains(stampOf(f)))
            file_->removeOutputFile(f);
}

} // namespace zb
