#include "LinuxJournalFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

} // namespace

LinuxJournalFile::LinuxJournalFile(const QString& stateFolder, const QString& name, qint64 maxBytes)
    : folder_(stateFolder),
      path_(stateFolder + QLatin1Char('/') + name + QStringLiteral("-runs.log")),
      outputFolder_(stateFolder + QStringLiteral("/output/") + name),
      maxBytes_(maxBytes)
{}

LinuxJournalFile::~LinuxJournalFile()
{
    if (fd_ >= 0)
        close(fd_);
}

bool LinuxJournalFile::ensureOpen()
{
    if (fd_ >= 0 && !stillAtPath()) {
        // The folder was moved or deleted: the lines go to a new file there.
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

bool LinuxJournalFile::stillAtPath() const
{
    struct stat mine = {};
    struct stat named = {};
    return fstat(fd_, &mine) == 0 && stat(QFile::encodeName(path_).constData(), &named) == 0 &&
           mine.st_ino == named.st_ino && mine.st_dev == named.st_dev;
}

void LinuxJournalFile::fail(const QString& why)
{
    if (why != failure_)
        std::fprintf(stderr, "ZB-SEQUENTA: cannot write the run journal %s: %s\n", qPrintable(path_), qPrintable(why));
    failure_ = why;
}

void LinuxJournalFile::append(const QString& text)
{
    if (!ensureOpen())
        return;
    QByteArray line = (text + QLatin1Char('\n')).toUtf8();
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
    rotateIfFull(written);
}

void LinuxJournalFile::rotateIfFull(qint64 justWritten)
{
    struct stat mine = {};
    if (fstat(fd_, &mine) != 0 || mine.st_size < maxBytes_)
        return;
    // Another copy under the same name may have moved the file aside
    // already: then this one only follows it to the new file.
    struct stat current = {};
    const QByteArray path = QFile::encodeName(path_);
    const QByteArray rotated = QFile::encodeName(path_ + QStringLiteral(".1"));
    if (stat(path.constData(), &current) == 0 && current.st_ino == mine.st_ino && current.st_dev == mine.st_dev &&
        rename(path.constData(), rotated.constData()) == 0 && mine.st_size - justWritten >= maxBytes_ + maxBytes_ / 2)
        capRotated(rotated);
    close(fd_);
    fd_ = -1;
}

void LinuxJournalFile::capRotated(const QByteArray& rotated) const
{
    // The program moves its journal aside as soon as a line takes it to the
    // limit; one far past it before the line came was not of its writing
    // (an older version's, a planted one) and may be any size. Only a little
    // past it is still the program's own: another copy under the same name
    // wrote between this copy's line and its move, and none of that is cut.
    // What is kept of a foreign one is its newest whole lines up to the
    // program's own limit, so that reading it costs no more than one of ours.
    const int in = open(rotated.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (in < 0)
        return;
    struct stat st = {};
    QByteArray tail;
    if (fstat(in, &st) == 0 && st.st_size > maxBytes_) {
        tail.resize(maxBytes_);
        const ssize_t got = pread(in, tail.data(), static_cast<size_t>(maxBytes_), st.st_size - maxBytes_);
        tail.resize(got > 0 ? got : 0);
    }
    close(in);
    if (tail.isEmpty())
        return;
    // The first line is cut at its front unless the cut fell right after a newline.
    const qsizetype firstEnd = tail.indexOf('\n');
    tail.remove(0, firstEnd < 0 ? tail.size() : firstEnd + 1);
    const QByteArray temporary = rotated + ".cut." + QByteArray::number(getpid());
    const int out = open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0600);
    if (out < 0)
        return;
    const bool whole = write(out, tail.constData(), static_cast<size_t>(tail.size())) == tail.size();
    close(out);
    if (!whole || rename(temporary.constData(), rotated.constData()) != 0)
        unlink(temporary.constData());
}

QStringList LinuxJournalFile::outputFiles() const
{
    return QDir(outputFolder_).entryList({QStringLiteral("*.log")}, QDir::Files);
}

void LinuxJournalFile::removeOutputFile(const QString& name) { QFile::remove(QDir(outputFolder_).filePath(name)); }

QStringList LinuxJournalFile::readLines() const
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

void LinuxJournalFile::readBackward(const std::function<bool(const QStringList& batch)>& take) const
{
    constexpr qint64 kPiece = qint64{16} * 1024;
    for (const QString& path : {path_, path_ + QStringLiteral(".1")}) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        // The start of a line cut by a piece's beginning, kept for the next piece.
        QByteArray carry;
        for (qint64 end = f.size(); end > 0;) {
            const qint64 begin = std::max<qint64>(0, end - kPiece);
            if (!f.seek(begin))
                break;
            QByteArray text = f.read(end - begin) + carry;
            end = begin;
            const qsizetype firstEnd = begin == 0 ? -1 : text.indexOf('\n');
            if (begin > 0 && firstEnd < 0) {
                carry = text; // one line longer than a piece
                continue;
            }
            carry = text.left(firstEnd + 1);
            QStringList batch;
            for (const QByteArray& l : QByteArrayView(text).sliced(firstEnd + 1).toByteArray().split('\n'))
                if (!l.isEmpty())
                    batch << QString::fromUtf8(l);
            if (!batch.isEmpty() && !take(batch))
                return;
        }
    }
}

} // namespace zb
