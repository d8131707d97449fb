#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
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

// The settings file held under an exclusive flock on the file itself, for a
// read-merge-write. The kernel drops the lock when its process dies, so a
// lock is never left behind.
class LockedFile {
public:
    // Makes the folder and an empty owner-only file when they are missing.
    // A symbolic link is followed, so that the link itself stays.
    static std::unique_ptr<LockedFile> open(const QString& path, QString* error);
    ~LockedFile();
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    bool readAll(QByteArray* bytes, QString* error);
    // Replaces the file atomically with an owner-only one whose bytes are on
    // disk before it returns. The new content is written to an unnamed file
    // (a named one where the file system has none), so that a kill leaves
    // nothing behind.
    bool replace(const QByteArray& bytes, FileStamp* stamp, QString* error);

private:
    LockedFile(int fd, QString path) : fd_(fd), path_(std::move(path)) {}
    void removeLeftovers() const;

    int fd_;
    QString path_;
};

} // namespace zb
