#include "FileRunJournal.h"

#include "JournalText.h"
#include "OutputPruning.h"

namespace zb {

namespace {

const QString kTaskPart = QStringLiteral("-task-");

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
    for (const QString& f : outputToPrune(file_->outputFiles(), passStamp_, outputPasses_))
        file_->removeOutputFile(f);
}

} // namespace zb
