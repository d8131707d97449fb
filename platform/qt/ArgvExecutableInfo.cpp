#include "ArgvExecutableInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zb {

ArgvExecutableInfo::ArgvExecutableInfo(const QString& argv0, const QString& runningExecutable)
{
    const bool bareName = !argv0.contains(QLatin1Char('/')) && !argv0.contains(QLatin1Char('\\'));
    QString folder;
    if (bareName) {
        const QString found = QStandardPaths::findExecutable(argv0);
        if (!found.isEmpty())
            folder = QFileInfo(found).absolutePath();
        else
            folder = QFileInfo(QFileInfo(runningExecutable).canonicalFilePath()).absolutePath();
    } else {
        // The folder as named, not as resolved: a link elsewhere is its own copy.
        folder = QFileInfo(argv0).absolutePath();
    }
    programFolder_ = QDir::cleanPath(folder);
    fileName_ = QFileInfo(argv0).fileName();
    baseName_ = fileName_;
    if (baseName_.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        baseName_.chop(4);
}

} // namespace zb
