#pragma once

#include <QByteArray>
#include <QString>

namespace zb {

struct FileResult {
    bool ok = false;
    QString error; // why it failed, in the system's words; empty when ok
};

// Questions about files on disk, and the few files the program writes itself.
class Files {
public:
    virtual ~Files() = default;
    virtual bool exists(const QString& path) const = 0;
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
