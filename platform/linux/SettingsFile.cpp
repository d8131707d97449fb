#include "SettingsFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zb {

namespace {

constexpr mode_t kOwnerOnly = S_IRUSR | S_IWUSR;

QString lastError() { return QString::fromLocal8Bit(std::strerror(errno)); }

FileStamp stampFrom(const struct stat& st)
{
    return {static_cast<quint64>(st.st_dev), static_cast<quint64>(st.st_ino), static_cast<qint64>(st.st_size),
            static_cast<qint64>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
            static_cast<qint64>(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec};
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool readFd(int fd, QByteArray* bytes)
{
    bytes->clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        bytes->append(buffer, n);
    }
}

QString leftoverPrefix(const QString& path)
{
    return QLatin1Char('.') + QFileInfo(path).fileName() + QLatin1String(".tmp-");
}

// Gives the unnamed file a name beside the settings file. Fails where /proc
// is not mounted; the caller then writes a named file instead.
bool nameUnnamedFile(int fd, const QByteArray& name)
{
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
    return ::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
}

// A read lease on the file: granted only while no other process holds it
// open for writing, and while it is held, another process that opens it for
// writing (a shell's `>>`) waits until it is given up. Waits up to timeoutMs
// for writers to close it. False where the file system has no leases.
bool takeReadLease(int fd, int timeoutMs)
{
    // A lease makes its taker the file's owner, whom a writer's open sends
    // SIGIO, which ends a process; the owner can only be cleared once the
    // lease is taken. Until then the break is told by SIGURG, which nothing
    // heeds by default.
    ::fcntl(fd, F_SETSIG, SIGURG);
    for (int waited = 0;; ++waited) {
        if (::fcntl(fd, F_SETLEASE, F_RDLCK) == 0) {
            ::fcntl(fd, F_SETOWN, 0);
            return true;
        }
        if ((errno != EAGAIN && errno != EINTR) || waited >= timeoutMs)
            return false;
        ::usleep(1000);
    }
}

void giveUpLease(int fd) { ::fcntl(fd, F_SETLEASE, F_UNLCK); }

constexpr int kWriterWaitMs = 500;

// Same content: the rename of a new file over this one changes its link
// count, and so its change time, but nothing a writer does.
bool sameContent(const FileStamp& a, const FileStamp& b)
{
    return a.device == b.device && a.inode == b.inode && a.size == b.size && a.modifiedNs == b.modifiedNs;
}

} // namespace

std::optional<FileStamp> stampOf(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return stampFrom(st);
}

FileRead readWholeFile(const QString& path)
{
    FileRead r;
    // Not waiting for a FIFO's writer: what is no plain file is refused below.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        r.result = errno == ENOENT || errno == ENOTDIR ? FileRead::Result::Missing : FileRead::Result::Failed;
        r.error = lastError();
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        r.result = FileRead::Result::Failed;
        r.error = S_ISDIR(st.st_mode) ? QStringLiteral("it is a folder") : QStringLiteral("it is not a file");
    } else if (!readFd(fd, &r.bytes)) {
        r.result = FileRead::Result::Failed;
        r.error = lastError();
    } else {
        r.result = FileRead::Result::Read;
        r.stamp = stampFrom(st);
    }
    ::close(fd);
    return r;
}

QString followLinks(const QString& path)
{
    // As many links as the kernel itself follows before it gives up.
    QString current = QFileInfo(path).absoluteFilePath();
    for (int hop = 0; hop < 40; ++hop) {
        const QByteArray name = QFile::encodeName(current);
        char target[4096];
        const ssize_t n = ::readlink(name.constData(), target, sizeof target - 1);
        if (n <= 0)
            return current;
        const QString next = QFile::decodeName(QByteArray(target, static_cast<int>(n)));
        current = QDir::cleanPath(
            QDir::isAbsolutePath(next) ? next : QFileInfo(current).absolutePath() + QLatin1Char('/') + next);
    }
    return current;
}

std::unique_ptr<LockedFile> LockedFile::open(const QString& path, QString* error)
{
    const QString target = followLinks(path);
    if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
        *error = QStringLiteral("cannot make the folder %1").arg(QFileInfo(target).absolutePath());
        return nullptr;
    }
    const QByteArray name = QFile::encodeName(target);
    // A writer that held the lock may have replaced the file meanwhile: the
    // lock then belongs to a file nobody reads any more, so take it afresh.
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Read-only, so that a read lease can tell whether others write it.
        const int fd = ::open(name.constData(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, kOwnerOnly);
        if (fd < 0) {
            *error = lastError();
            return nullptr;
        }
        int locked = 0;
        while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
        }
        struct stat held {};
        struct stat current {};
        if (locked != 0 || ::fstat(fd, &held) != 0) {
            *error = lastError();
            ::close(fd);
            return nullptr;
        }
        if (!S_ISREG(held.st_mode)) {
            *error = QStringLiteral("it is not a plain file");
            ::close(fd);
            return nullptr;
        }
        if (::stat(name.constData(), &current) == 0 && current.st_ino == held.st_ino && current.st_dev == held.st_dev) {
            // Appends by hand wait while the file is read and replaced.
            takeReadLease(fd, kWriterWaitMs);
            return std::unique_ptr<LockedFile>(new LockedFile(fd, target));
        }
        ::close(fd);
    }
    *error = QStringLiteral("the file keeps being replaced by another process");
    return nullptr;
}

FileStamp LockedFile::heldStamp() const
{
    struct stat st {};
    return ::fstat(fd_, &st) == 0 ? stampFrom(st) : FileStamp{};
}

bool LockedFile::pathNamesHeldFile() const
{
    const std::optional<FileStamp> named = stampOf(path_);
    const FileStamp held = heldStamp();
    return named && named->inode == held.inode && named->device == held.device;
}

LockedFile::~LockedFile() { ::close(fd_); }

QByteArray LockedFile::appendedSince(const FileStamp& read) const
{
    // Writers that opened the path before the rename hold the old file, and
    // waited for the lease to go: once none holds it open, nor is about to
    // (a new lease is not broken at once), their lines are there.
    for (int tries = 0; tries < kWriterWaitMs && takeReadLease(fd_, kWriterWaitMs); ++tries) {
        ::usleep(1000);
        const bool nobodyCame = ::fcntl(fd_, F_GETLEASE) == F_RDLCK;
        giveUpLease(fd_);
        if (nobodyCame)
            break;
    }
    const FileStamp now = heldStamp();
    if (sameContent(now, read))
        return {};
    QByteArray bytes(static_cast<qsizetype>(std::max<qint64>(0, now.size - read.size)), Qt::Uninitialized);
    const ssize_t got = ::pread(fd_, bytes.data(), static_cast<size_t>(bytes.size()), read.size);
    bytes.truncate(std::max<ssize_t>(0, got));
    return bytes;
}

bool LockedFile::readAll(QByteArray* bytes, FileStamp* stamp, QString* error)
{
    *stamp = heldStamp();
    if (::lseek(fd_, 0, SEEK_SET) != 0 || !readFd(fd_, bytes)) {
        *error = lastError();
        return false;
    }
    return true;
}

void LockedFile::removeLeftovers() const
{
    // Only the holder of the lock writes a named file, so any found now was
    // left by a writer that died.
    const QFileInfo info(path_);
    QDir dir = info.absoluteDir();
    for (const QString& entry : dir.entryList({leftoverPrefix(path_) + QLatin1Char('*')}, QDir::Files | QDir::Hidden))
        dir.remove(entry);
}

LockedFile::Replaced LockedFile::replace(const QByteArray& bytes, const std::function<bool()>& unchanged,
                                         FileStamp* stamp, QString* error)
{
    removeLeftovers();
    const QString folder = QFileInfo(path_).absolutePath();
    const QByteArray folderName = QFile::encodeName(folder);
    const QByteArray target = QFile::encodeName(path_);
    const QByteArray temporary =
        QFile::encodeName(folder + QLatin1Char('/') + leftoverPrefix(path_) + QString::number(::getpid()));

    bool named = false;
    int fd = ::open(folderName.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, kOwnerOnly);
    if (fd < 0) {
        fd = ::open(temporary.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, kOwnerOnly);
        named = true;
    }
    bool ok = fd >= 0 && ::fchmod(fd, kOwnerOnly) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (ok && !named && !nameUnnamedFile(fd, temporary)) {
        // No /proc: write the named file instead.
        ::close(fd);
        fd = ::open(temporary.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, kOwnerOnly);
        named = true;
        ok = fd >= 0 && ::fchmod(fd, kOwnerOnly) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    }
    if (ok && !unchanged()) {
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.constData());
        return Replaced::ChangedMeanwhile;
    }
    ok = ok && ::rename(temporary.constData(), target.constData()) == 0;
    if (!ok) {
        *error = lastError();
        if (fd >= 0)
            ::close(fd);
        ::unlink(temporary.constData());
        return Replaced::Failed;
    }
    ::close(fd);
    // Appends that waited go on, into the file replaced: appendedSince().
    giveUpLease(fd_);
    // The rename itself reaches the disk with the folder.
    if (const int dirFd = ::open(folderName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    if (const std::optional<FileStamp> s = stampOf(path_))
        *stamp = *s;
    return Replaced::Done;
}

} // namespace zb
