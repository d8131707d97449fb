#include "InstalledProgramData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <utility>

namespace zb {

namespace {
const QString kDataFolder = QStringLiteral("share/zb-sequenta");
} // namespace

InstalledProgramData::InstalledProgramData(QStringList folders) : folders_(std::move(folders)) {}

QStringList InstalledProgramData::foldersFor(const QString& executableFolder)
{
    const QDir here(executableFolder);
    return {QDir::cleanPath(here.filePath(QStringLiteral("../") + kDataFolder)),
            QDir::cleanPath(here.filePath(kDataFolder))};
}

QString InstalledProgramData::readText(const QString& name) const
{
    for (const QString& folder : folders_) {
        const QFileInfo info(QDir(folder).filePath(name));
        if (!info.isFile())
            continue;
        QFile file(info.filePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    return {};
}

} // namespace zb
