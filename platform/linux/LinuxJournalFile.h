#pragma once

#include "platform/JournalFile.h"

namespace zb {

// The journal of one copy of the program as a text file in its state folder,
// "<name>-runs.log", with its tasks' output under "output/<name>/".
//
// Each line is appended with a single write to a file opened O_APPEND, so
// that two copies under the same name never mix within a line, and without
// a sync, so that a tick is never held up by the disk. A line is there whole
// or not at all, and a line cut short by an earlier fault never joins the
// next one. When the file at the path is no longer the one held open (the
// folder was moved or deleted), a new one is opened there. Past its size
// limit the file is moved aside to "<name>-runs.log.1" (one older file is
// kept), cut to that limit if it was larger. A failure is said once on stderr.
class LinuxJournalFile : public JournalFile {
public:
    static constexpr qint64 kDefaultBytes = 1024 * 1024;

    LinuxJournalFile(const QString& stateFolder, const QString& name, qint64 maxBytes = kDefaultBytes);
    ~LinuxJournalFile() override;
    LinuxJournalFile(const LinuxJournalFile&) = delete;
    LinuxJournalFile& operator=(const LinuxJournalFile&) = delete;

    void append(const QString& line) override;
    QString failure() const override { return failure_; }
    QString path() const override { return path_; }
    // The kept older file first.
    QStringList readLines() const override;
    // Reads the files from their end, a piece at a time.
    void readBackward(const std::function<bool(const QStringList& batch)>& take) const override;

    QString outputFolder() const override { return outputFolder_; }
    QStringList outputFiles() const override;
    void removeOutputFile(const QString& name) override;

private:
    bool ensureOpen();
    bool stillAtPath() const;
    void fail(const QString& why);
    void rotateIfFull(qint64 justWritten);
    void capRotated(const QByteArray& rotated) const;

    QString folder_;
    QString path_;
    QString outputFolder_;
    qint64 maxBytes_;
    int fd_ = -1;
    QString failure_;
    bool brokenLineAtEnd_ = false;
};

} // namespace zb
