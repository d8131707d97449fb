#include "QtFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <unistd.h>

namespace zb {

namespace {
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOthersAndGroup = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                                     QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                                     QFileDevice::WriteOther | QFileDevice::ExeOther;
} // namespace

bool QtFiles::exists(const QString& path) const { return QFileInfo(path).isFile(); }

FileResult QtFiles::writePrivateFile(const QString& path, const QByteArray& content)
{
    // The content goes to a temporary file beside the target, which is
    // flushed and renamed over it: no moment with half a file, and the
    // rights are set before anything secret is written.
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // A file that grows meanwhile is read up to where it stood.
    const qint64 size = file.size();
    if (size > maxBytes && !file.seek(size - maxBytes))
        return {};
    return file.read(std::min(size, maxBytes));
}

} // namespace zb
