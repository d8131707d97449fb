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
// a sync, so that a tick is never held up by the disk. A line is there whole
// or not at all, and a line cut short by an earlier fault never joins the
// next one. When the file at the path is no longer the one held open (the
// folder was moved or deleted), the journal opens a new one there. Past its
// size limit the file is moved aside to "<name>-runs.log.1" (one older file
// is kept); the output of the newest passes, in the journal's order, is
// kept, older passes' output is deleted. A failure is said once on stderr.
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

    QString outputFolder() const { return outputFolder_; }

    // The clock that stamps the lines; the local time by default.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

private:
    bool ensureOpen();
    bool stillAtPath() const;
    void fail(const QString& why);
    void rotateIfFull();
    void pruneOutput();

    QString folder_;
    QString path_;
    QString outputFolder_;
    Limits limits_;
    int fd_ = -1;
    QString passStamp_;
    QString failure_;
    bool brokenLineAtEnd_ = false;
};

} // namespace zb
