#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace zb {

// The file a run journal is kept in: text lines appended one at a time and
// read back oldest first, and beside it the folder its tasks' output goes to.
// It knows nothing of what the lines say.
class JournalFile {
public:
    virtual ~JournalFile() = default;

    // Appends the line and a line break. The line is there whole or not at
    // all; a failure never stops the caller.
    virtual void append(const QString& line) = 0;
    // Why the file could not be written; empty while all is well.
    virtual QString failure() const = 0;
    // The file's path; empty for a journal that keeps nothing.
    virtual QString path() const = 0;
    // Every line, oldest first.
    virtual QStringList readLines() const = 0;
    // The lines from the newest back, a batch at a time (each batch oldest
    // first, the kept older file after the current one), until `take`
    // returns false. What the newest lines cost does not grow with the file.
    virtual void readBackward(const std::function<bool(const QStringList& batch)>& take) const = 0;

    // The folder of the task output files, and the names of those in it.
    virtual QString outputFolder() const = 0;
    virtual QStringList outputFiles() const = 0;
    virtual void removeOutputFile(const QString& name) = 0;
};

// A journal file that keeps nothing, for a program without one.
class NullJournalFile : public JournalFile {
public:
    void append(const QString&) override {}
    QString failure() const override { return QString(); }
    QString path() const override { return QString(); }
    QStringList readLines() const override { return QStringList(); }
    void readBackward(const std::function<bool(const QStringList&)>&) const override {}
    QString outputFolder() const override { return QString(); }
    QStringList outputFiles() const override { return QStringList(); }
    void removeOutputFile(const QString&) override {}
};

} // namespace zb
