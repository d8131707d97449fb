#pragma once

#include "RunJournal.h"

#include "platform/JournalFile.h"

#include <QDateTime>
#include <functional>
#include <memory>

namespace zb {

// The run journal kept in a journal file: one line an event, stamped with
// the time, and each task's output in "<pass start>-task-<n>.log" in the
// file's output folder. When a pass starts, the output of the newest passes
// is kept and older passes' output is deleted (see OutputPruning.h).
class FileRunJournal : public RunJournal {
public:
    static constexpr int kDefaultOutputPasses = 30;

    explicit FileRunJournal(std::unique_ptr<JournalFile> file, int outputPasses = kDefaultOutputPasses);

    void record(const JournalEvent& event, const QString& pass = QString()) override;
    // Empty when the file keeps no output folder.
    QString taskOutputFile(int n) override;
    QString failure() const override { return file_->failure(); }
    QString journalFile() const override { return file_->path(); }
    QStringList readLines() const override { return file_->readLines(); }
    // Reads the file from its end, so that the newest pass costs the same
    // however long the journal is.
    void readBackward(const LineBatches& take) const override { file_->readBackward(take); }

    // The clock that stamps the lines; the local time by default.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

private:
    void pruneOutput();

    std::unique_ptr<JournalFile> file_;
    int outputPasses_;
    QString passStamp_;
};

} // namespace zb
