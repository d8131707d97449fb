#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>

namespace zb {

// One version of a file: when any part differs, someone wrote it since.
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    qint64 changedNs = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at `path`, or nothing when there is no file to read.
std::optional<FileStamp> stampOf(const QString& path);

struct FileRead {
    enum class Result { Missing, Read, Failed };
    Result result = Result::Missing;
    QByteArray bytes;
    FileStamp stamp;
    QString error; // why, when Failed
};

// Reads the whole file without a lock: writers only ever replace it whole.
FileRead readWholeFile(const QString& path);

// The real file a path names, every symbolic link on the way followed; the
// path itself when it is no link.
QString followLinks(const QString& path);

// The settings file held under an exclusive flock on the file itself, for a
// read-merge-write. The kernel drops the lock when its process dies, so a
// lock is never left behind.
class LockedFile {
public:
    // Makes the folder and an empty owner-only file when they are missing.
    // Symbolic links are followed to the real file, however many, so that
    // the links themselves stay.
    static std::unique_ptr<LockedFile> open(const QString& path, QString* error);
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    // The real file's path, links followed.
    const QString& path() const { return path_; }
    bool readAll(QByteArray* bytes, FileStamp* stamp, QString* error);
    // The file held, as it is now; and whether the path still names it.
    FileStamp heldStamp() const;
    bool pathNamesHeldFile() const;

    // What a writer that takes no lock (a shell's `>>`) appended to the file
    // held since it was read as `read`; waits for writers that hold it open.
    QByteArray appendedSince(const FileStamp& read) const;

    enum class Replaced { Done, Failed, ChangedMeanwhile };
    // Replaces the file atomically with an owner-only one whose bytes are on
    // disk before it returns. The new content is written to an unnamed file
    // (a named one where the file system has none), so that a kill leaves
    // nothing behind. Just before the rename, `unchanged` is asked again:
    // a writer that does not take the lock (a shell's `>>`) may have written
    // since the caller read; the file is then left alone.
    Replaced replace(const QByteArray& bytes, const std::function<bool()>& unchanged, FileStamp* stamp, QString* error);

private:
    LockedFile(int fd, QString path) : fd_(fd), path_(std::move(path)) {}
    void removeLeftovers() const;

    int fd_;
    QString path_;
};

} // namespace zb
