#include "QtFiles.h"

#include "platform/linux/PlainFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>

namespace zb {

namespace {
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOthersAndGroup = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                     QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                     QFileDevice::WriteOther | QFileDevice::ExeOther;
// Only a plain file: a FIFO or a device (a task may put one in place of
// its output) could keep the reader waiting for good.
bool openForReading(const QString& path, QFile& file, QString* why)
{
    const int fd = openPlainFile(path, O_RDONLY, why);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *why = file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool QtFiles::exists(const QString& path) const { return QFileInfo(path).isFile(); }

bool QtFiles::folderExists(const QString& path) const { return QFileInfo(path).isDir(); }

FileText QtFiles::readTail(const QString& path, int maxLines) const
{
    QFile file;
    if (QString why; !openForReading(path, file, &why))
        return {false, QString(), why, false};
    const qint64 start = std::max<qint64>(0, file.size() - kTailBytes);
    if (start > 0 && !file.seek(start))
        return {false, QString(), file.errorString(), false};
    QByteArray data = file.read(kTailBytes);
    if (file.error() != QFileDevice::NoError)
        return {false, QString(), file.errorString(), false};

    bool cut = false;
    if (start > 0) { // the first line read is most likely a part of one
        data.remove(0, data.indexOf('\n') + 1);
        cut = true;
    }
    if (data.endsWith('\n'))
        data.chop(1);
    // `from` ends as the break before the oldest line kept, or -1 when the
    // whole text fits.
    qsizetype from = data.size();
    int lines = 0;
    while (lines < maxLines && from > 0) {
        from = data.lastIndexOf('\n', from - 1);
        ++lines;
    }
    if (lines == maxLines && from >= 0) {
        cut = true;
        data.remove(0, from + 1);
    }
    return {true, QString::fromUtf8(data), QString(), cut};
}

FileResult QtFiles::writePrivateFile(const QString& path, const QByteArray& content)
{
    // The content goes to a temporary file beside the target, which is
    // flushed and renamed over it: no moment with half a file, and the
    // rights are set before anything secret is written.
    // QSaveFile would write to where a link points: a link planted in place
    // of a script or a report must not turn this write onto another file.
    if (QFileInfo(path).isSymLink())
        return {false, QStringLiteral("%1 is a symbolic link; it is not followed").arg(path)};
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {false, file.errorString()};
    if (!file.setPermissions(kOwnerOnly)) {
        const QString why = file.errorString();
        file.cancelWriting();
        return {false, why};
    }
    if (file.write(content) != content.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return {false, why};
    }
    if (!file.commit())
        return {false, file.errorString()};
    return {true, QString()};
}

FileResult QtFiles::createPrivateFile(const QString& path)
{
    if (const QFileInfo info(path); info.isFile()) {
        // A file made before, by hand or by an older version, may be open
        // to others; it is closed to them when it is the user's own.
        if (info.ownerId() == ::geteuid() && (info.permissions() & kOthersAndGroup) != 0)
            QFile::setPermissions(path, info.permissions() & ~kOthersAndGroup);
        return {true, QString()};
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly)) {
        if (QFileInfo(path).isFile()) // made by someone else meanwhile
            return {true, QString()};
        return {false, file.errorString()};
    }
    return {true, QString()};
}

QByteArray QtFiles::readEnd(const QString& path, qint64 maxBytes) const
{
    QFile file;
    if (QString why; !openForReading(path, file, &why))
        return {};
    // A file that grows meanwhile is read up to where it stood.
    const qint64 size = file.size();
    if (size > maxBytes && !file.seek(size - maxBytes))
        return {};
    return file.read(std::min(size, maxBytes));
}

} // namespace zb
