#include "ArgvExecutableInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zb {

ArgvExecutableInfo::ArgvExecutableInfo(const QString& argv0)
{
    QString path = argv0;
    if (!path.contains(QLatin1Char('/')) && !path.contains(QLatin1Char('\\'))) {
        const QString found = QStandardPaths::findExecutable(path);
        if (!found.isEmpty())
            path = found;
    }
    // The folder as named, not as resolved: a link elsewhere is its own copy.
    const QFileInfo info(path);
    programFolder_ = QDir::cleanPath(info.absolutePath());
    baseName_ = info.fileName();
    if (baseName_.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive))
        baseName_.chop(4);
}

} // namespace zb
