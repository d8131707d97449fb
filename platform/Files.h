#pragma once

#include <QByteArray>
#include <QString>

namespace zb {

struct FileResult {
    bool ok = false;
    QString error; // why it failed, in the system's words; empty when ok
};

// The end of a text file, read to be shown.
struct FileText {
    bool ok = false;
    QString text;     // its last lines, without the final line break
    QString error;    // why it could not be read; empty when ok
    bool cut = false; // earlier lines were left out
};

// Questions about files on disk, and the few files the program writes itself.
class Files {
public:
    virtual ~Files() = default;
    virtual bool exists(const QString& path) const = 0;
    virtual bool folderExists(const QString& path) const = 0;
    // The last `maxLines` lines of a text file; a very long file is read
    // from near its end only.
    virtual FileText readTail(const QString& path, int maxLines) const = 0;
    // Replaces the file's content in one step (a reader sees the old file or
    // the new one, never half of it), readable and writable by its owner
    // only, whatever rights an older file had.
    virtual FileResult writePrivateFile(const QString& path, const QByteArray& content) = 0;
    // Makes an empty file readable by its owner only. A file that is there
    // already keeps its content; when it is the user's own, group and others
    // lose their rights to it.
    virtual FileResult createPrivateFile(const QString& path) = 0;
    // The last maxBytes of a file (all of a shorter one); empty when it
    // cannot be read.
    virtual QByteArray readEnd(const QString& path, qint64 maxBytes) const = 0;
};

} // namespace zb
