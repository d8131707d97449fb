#include "LinuxSingleInstance.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QUrl>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>

namespace zb {

namespace {

QString errorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

// Why the folder may not hold the lock: it must be a folder of ours, not a
// link, that nobody else can reach, in a folder nobody else can swap it in.
QString folderProblem(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat st = {};
    if (lstat(path.constData(), &st) != 0)
        return QStringLiteral("the lock folder %1 cannot be made: %2").arg(folder, errorText(errno));
    if (S_ISLNK(st.st_mode))
        return QStringLiteral("the lock folder %1 is a symbolic link").arg(folder);
    if (!S_ISDIR(st.st_mode))
        return QStringLiteral("the lock folder %1 is not a folder").arg(folder);
    if (st.st_uid != geteuid())
        return QStringLiteral("the lock folder %1 belongs to user %2").arg(folder).arg(st.st_uid);
    if ((st.st_mode & 077) != 0)
        return QStringLiteral("the lock folder %1 is open to other users (mode %2)")
            .arg(folder)
            .arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
    const QByteArray parent = QFile::encodeName(QFileInfo(folder).absolutePath());
    struct stat up = {};
    if (lstat(parent.constData(), &up) != 0 || !S_ISDIR(up.st_mode) || (up.st_uid != geteuid() && up.st_uid != 0) ||
        ((up.st_mode & 022) != 0 && (up.st_mode & S_ISVTX) == 0))
        return QStringLiteral("the folder %1 above the lock folder can be changed by other users")
            .arg(QFileInfo(folder).absolutePath());
    return {};
}

qint64 readPid(int fd)
{
    char buffer[32] = {};
    const ssize_t n = pread(fd, buffer, sizeof buffer - 1, 0);
    if (n <= 0)
        return 0;
    return QByteArray(buffer, static_cast<int>(n)).trimmed().toLongLong();
}

bool socketAddress(const QString& path, sockaddr_un& address)
{
    const QByteArray p = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (p.size() >= static_cast<int>(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, p.constData(), static_cast<size_t>(p.size()));
    return true;
}

} // namespace

LinuxSingleInstance::LinuxSingleInstance(QString folder, QString fallback)
    : folder_(std::move(folder)),
      fallback_(std::move(fallback))
{}

LinuxSingleInstance::~LinuxSingleInstance()
{
    delete notifier_;
    if (listenFd_ >= 0) {
        close(listenFd_);
        unlink(QFile::encodeName(socketPath_).constData());
    }
    if (lockFd_ >= 0)
        close(lockFd_); // drops the lock
}

QString LinuxSingleInstance::lockFolderFor(const QString& settingsFile)
{
    return QFileInfo(settingsFile).absolutePath() + QStringLiteral("/locks");
}

bool LinuxSingleInstance::claim(const QString& name)
{
    if (claimIn(name))
        return true;
    // A folder that cannot hold files (read-only, or a file in its place) is
    // the same for every start that meets it, and so is the fallback.
    if (!unusable_ || fallback_.isEmpty())
        return false;
    folder_ = std::exchange(fallback_, QString());
    unusable_ = false;
    return claimIn(name);
}

bool LinuxSingleInstance::claimIn(const QString& name)
{
    // No safe place for the lock: not running is safer than running twice.
    if (folder_.isEmpty()) {
        refusal_ = QStringLiteral("there is no folder for the lock");
        return false;
    }
    // On a first start the settings folder may not be there yet.
    QDir().mkpath(QFileInfo(folder_).absolutePath());
    if (mkdir(QFile::encodeName(folder_).constData(), 0700) != 0 && errno != EEXIST) {
        refusal_ = QStringLiteral("the lock folder %1 cannot be made: %2").arg(folder_, errorText(errno));
        unusable_ = true;
        return false;
    }
    if (refusal_ = folderProblem(folder_); !refusal_.isEmpty())
        return false;
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    lockPath_ = lockPathOf(name);
    socketPath_ = folder_ + QLatin1Char('/') + QString::fromLatin1(hash) + QStringLiteral(".sock");

    lockFd_ = open(QFile::encodeName(lockPath_).constData(),
                   O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0600);
    if (lockFd_ < 0) {
        refusal_ = errno == ELOOP ? QStringLiteral("the lock %1 is a symbolic link").arg(lockPath_)
                   : errno == EISDIR
                       ? QStringLiteral("the lock %1 is not a plain file").arg(lockPath_)
                       : QStringLiteral("the lock %1 cannot be opened: %2").arg(lockPath_, errorText(errno));
        unusable_ = errno == EROFS || errno == EACCES;
        return false;
    }
    struct stat st = {};
    if (fstat(lockFd_, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
        refusal_ = !S_ISREG(st.st_mode)
                       ? QStringLiteral("the lock %1 is not a plain file").arg(lockPath_)
                       : QStringLiteral("the lock %1 belongs to user %2").arg(lockPath_).arg(st.st_uid);
        close(lockFd_);
        lockFd_ = -1;
        return false;
    }
    if (flock(lockFd_, LOCK_EX | LOCK_NB) != 0) {
        // The holder writes its pid just after taking the lock.
        for (int i = 0; i < 20 && (runningPid_ = readPid(lockFd_)) == 0; ++i)
            QThread::msleep(10);
        close(lockFd_);
        lockFd_ = -1;
        return false;
    }
    const QByteArray pid = QByteArray::number(static_cast<qint64>(getpid())) + '\n';
    if (ftruncate(lockFd_, 0) == 0)
        (void)!pwrite(lockFd_, pid.constData(), static_cast<size_t>(pid.size()), 0);
    runningPid_ = getpid();
    listen();
    return true;
}

QString LinuxSingleInstance::lockPathOf(const QString& name) const { return lockPathIn(folder_, name); }

QString LinuxSingleInstance::lockPathIn(const QString& folder, const QString& name)
{
    // Any file name is allowed, but it must stay one short path component.
    QString safe = QString::fromLatin1(QUrl::toPercentEncoding(name));
    if (safe.size() > 200)
        safe = QString::fromLatin1(QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
    return folder + QLatin1Char('/') + safe + QStringLiteral(".lock");
}

bool LinuxSingleInstance::runs(const QString& name) const { return heldIn(folder_, name) || heldIn(fallback_, name); }

bool LinuxSingleInstance::heldIn(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return false;
    struct stat lockFile = {};
    if (stat(QFile::encodeName(lockPathIn(folder, name)).constData(), &lockFile) != 0)
        return false;
    // "1: FLOCK  ADVISORY  WRITE 4711 fd:01:123456 0 EOF": the device and
    // inode of each locked file.
    char device[64];
    std::snprintf(device, sizeof device, " %02x:%02x:%lu ", major(lockFile.st_dev), minor(lockFile.st_dev),
                  static_cast<unsigned long>(lockFile.st_ino));
    const QByteArray file(device);
    QFile locks(QStringLiteral("/proc/locks"));
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : locks.readAll().split('\n'))
        if (line.contains(" FLOCK ") && line.contains(file))
            return true;
    return false;
}

void LinuxSingleInstance::listen()
{
    sockaddr_un address;
    if (!socketAddress(socketPath_, address))
        return;
    listenFd_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listenFd_ < 0)
        return;
    // Holding the lock, any socket left here is a dead copy's.
    unlink(address.sun_path);
    if (bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(listenFd_, 4) != 0) {
        close(listenFd_);
        listenFd_ = -1;
    }
}

void LinuxSingleInstance::onActivationRequest(std::function<void()> handler)
{
    handler_ = std::move(handler);
    if (listenFd_ < 0 || notifier_ != nullptr)
        return;
    notifier_ = new QSocketNotifier(listenFd_, QSocketNotifier::Read);
    QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] { acceptRequest(); });
}

void LinuxSingleInstance::acceptRequest()
{
    const int fd = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    close(fd); // the connection itself is the request
    if (handler_)
        handler_();
}

bool LinuxSingleInstance::askRunningToActivate()
{
    sockaddr_un address;
    if (socketPath_.isEmpty() || !socketAddress(socketPath_, address))
        return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool reached = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return reached;
}

} // namespace zb
