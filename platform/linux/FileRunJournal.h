#pragma once

#include "engine/RunJournal.h"

#include <QDateTime>
#include <functional>

namespace zb {

// The run journal of one copy of the program, as a text file in its state
// folder: "<name>-runs.log", one line an event, and each task's output under
// "output/<name>/<pass start>-task-<n>.log".
//
// Each line is appended with a single write to a file opened O_APPEND, so
// that two copies under the same name never mix within a line, and without
// a sync, so that a tick is never held up by the disk. Past its size limit the
// file is moved aside to "<name>-runs.log.1" (one older file is kept); the
// output of the newest passes is kept, older passes' output is deleted.
class FileRunJournal : public RunJournal {
public:
    struct Limits {
        qint64 journalBytes = 1024 * 1024;
        int outputPasses = 30;
    };

    FileRunJournal(const QString& stateFolder, const QString& name, Limits limits);
    FileRunJournal(const QString& stateFolder, const QString& name) : FileRunJournal(stateFolder, name, Limits()) {}
    ~FileRunJournal() override;
    FileRunJournal(const FileRunJournal&) = delete;
    FileRunJournal& operator=(const FileRunJournal&) = delete;

    void record(const JournalEvent& event) override;
    QString taskOutputFile(int n) override;
    QString failure() const override { return failure_; }
    QString journalFile() const override { return path_; }
    QStringList readLines() const override;
    // Reads the files from their end, so that the newest pass costs the
    // same however long the journal is.
    QStringList readLastPassLines() const override;

    QString outputFolder() const { return outputFolder_; }

    // The clock that stamps the lines; the local time by default.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

private:
    bool ensureOpen();
    void rotateIfFull();
    void pruneOutput();

    QString folder_;
    QString path_;
    QString outputFolder_;
    Limits limits_;
    int fd_ = -1;
    QString passStamp_;
    QString failure_;
};

} // namespace zb
