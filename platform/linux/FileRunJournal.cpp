#include "FileRunJournal.h"

#include "engine/JournalText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zb {

namespace {

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

const QString kTaskPart = QStringLiteral("-task-");

} // namespace

FileRunJournal::FileRunJournal(const QString& stateFolder, const QString& name, Limits limits)
    : folder_(stateFolder),
      path_(stateFolder + QLatin1Char('/') + name + QStringLiteral("-runs.log")),
      outputFolder_(stateFolder + QStringLiteral("/output/") + name),
      limits_(limits)
{}

FileRunJournal::~FileRunJournal()
{
    if (fd_ >= 0)
        close(fd_);
}

bool FileRunJournal::ensureOpen()
{
    if (fd_ >= 0 && !stillAtPath()) {
        // The folder was moved or deleted: the events go to a new file there.
        close(fd_);
        fd_ = -1;
    }
    if (fd_ >= 0)
        return true;
    if (!QDir().mkpath(folder_)) {
        fail(QStringLiteral("cannot make %1").arg(folder_));
        return false;
    }
    fd_ = open(QFile::encodeName(path_).constData(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd_ < 0) {
        fail(errorText(errno));
        return false;
    }
    // A line cut short (a full disk, a kill) ends here, so that the next one
    // starts a line of its own instead of joining it.
    struct stat st = {};
    char last = '\n';
    if (fstat(fd_, &st) == 0 && st.st_size > 0 && pread(fd_, &last, 1, st.st_size - 1) != 1)
        last = '\n';
    brokenLineAtEnd_ = last != '\n';
    return true;
}

bool FileRunJournal::stillAtPath() const
{
    struct stat mine = {};
    struct stat named = {};
    return fstat(fd_, &mine) == 0 && stat(QFile::encodeName(path_).constData(), &named) == 0 &&
           mine.st_ino == named.st_ino && mine.st_dev == named.st_dev;
}

void FileRunJournal::fail(const QString& why)
{
    if (why != failure_)
        std::fprintf(stderr, "ZB-SEQUENTA: cannot write the run journal %s: %s\n", qPrintable(path_), qPrintable(why));
    failure_ = why;
}

void FileRunJournal::record(const JournalEvent& event)
{
    const QDateTime when = now();
    if (event.kind == JournalEvent::Kind::PassStarted) {
        passStamp_ = when.toString(QStringLiteral("yyyyMMdd-HHmmss"));
        pruneOutput();
    }
    if (!ensureOpen())
        return;
    QByteArray line = (journalLine(when, event) + QLatin1Char('\n')).toUtf8();
    if (brokenLineAtEnd_)
        line.prepend('\n');
    // One write for the whole line, so that no line is ever split around
    // another copy's; a short write is taken back, so that a line is there
    // whole or not at all.
    ssize_t written = 0;
    do {
        written = write(fd_, line.constData(), static_cast<size_t>(line.size()));
    } while (written < 0 && errno == EINTR);
    if (written != line.size()) {
        const int error = errno;
        if (written > 0) {
            const off_t end = lseek(fd_, 0, SEEK_CUR);
            if (end >= written && ftruncate(fd_, end - written) != 0)
                brokenLineAtEnd_ = true;
        }
        fail(written < 0 ? errorText(error) : QStringLiteral("the disk is full"));
        close(fd_);
        fd_ = -1;
        return;
    }
    brokenLineAtEnd_ = false;
    if (!failure_.isEmpty())
        std::fprintf(stderr, "ZB-SEQUENTA: the run journal %s is written again\n", qPrintable(path_));
    failure_.clear();
    rotateIfFull();
}

void FileRunJournal::rotateIfFull()
{
    struct stat mine = {};
    if (fstat(fd_, &mine) != 0 || mine.st_size < limits_.journalBytes)
        return;
    // Another copy under the same name may have moved the file aside
    // already: then this one only follows it to the new file.
    struct stat current = {};
    const QByteArray path = QFile::encodeName(path_);
    if (stat(path.constData(), &current) == 0 && current.st_ino == mine.st_ino && current.st_dev == mine.st_dev)
        (void)rename(path.constData(), QFile::encodeName(path_ + QStringLiteral(".1")).constData());
    close(fd_);
    fd_ = -1;
}

QString FileRunJournal::taskOutputFile(int n)
{
    if (passStamp_.isEmpty())
        passStamp_ = now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return outputFolder_ + QLatin1Char('/') + passStamp_ + kTaskPart + QString::number(n) + QStringLiteral(".log");
}

void FileRunJournal::pruneOutput()
{
    const QDir dir(outputFolder_);
    const QStringList files = dir.entryList({QStringLiteral("*-task-*.log")}, QDir::Files);
    if (files.isEmpty())
        return;
    // Passes in the order the journal tells them, not by the stamps in the
    // names: the clock may have been set back. Output the journal no longer
    // names is older than any it names.
    QHash<QString, qsizetype> order;
    const QStringList lines = readLines();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].contains(QLatin1String(" task-started ")))
            continue;
        const std::optional<JournalEntry> entry = parseJournalLine(lines[i]);
        if (!entry || QFileInfo(entry->event.file).absolutePath() != QFileInfo(outputFolder_).absoluteFilePath())
            continue;
        const QString name = QFileInfo(entry->event.file).fileName();
        order.insert(name.left(name.indexOf(kTaskPart)), i);
    }
    QSet<QString> stampSet;
    for (const QString& f : files)
        stampSet.insert(f.left(f.indexOf(kTaskPart)));
    stampSet.remove(passStamp_);
    QStringList stamps(stampSet.cbegin(), stampSet.cend());
    std::sort(stamps.begin(), stamps.end(), [&order](const QString& a, const QString& b) {
        return std::pair(order.value(a, -1), a) > std::pair(order.value(b, -1), b);
    });
    // The pass that begins is one of those kept, and so is the one before it.
    const QStringList old = stamps.mid(std::max(1, limits_.outputPasses - 1));
    if (old.isEmpty())
        return;
    const QSet<QString> oldSet(old.cbegin(), old.cend());
    for (const QString& f : files)
        if (oldSet.contains(f.left(f.indexOf(kTaskPart))))
            QFile::remove(dir.filePath(f));
}

QStringList FileRunJournal::readLines() const
{
    QStringList lines;
    for (const QString& path : {path_ + QStringLiteral(".1"), path_}) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> raw = f.readAll().split('\n');
        for (const QByteArray& l : raw)
            if (!l.isEmpty())
                lines << QString::fromUtf8(l);
    }
    return lines;
}

} // namespace zb
