#pragma once

#include "platform/Files.h"

#include <QMap>
#include <QSet>

namespace zb {

// A scripted set of files that exist; written files are kept in memory.
// Paths under a folder listed in missingFolders cannot be written.
class FakeFiles : public Files {
public:
    bool exists(const QString& path) const override { return present.contains(path); }

    FileResult writePrivateFile(const QString& path, const QByteArray& content) override
    {
        if (refused(path))
            return {false, QStringLiteral("No such file or directory")};
        written[path] = content;
        present.insert(path);
        ++writeCount;
        return {true, QString()};
    }

    FileResult createPrivateFile(const QString& path) override
    {
        if (refused(path))
            return {false, QStringLiteral("No such file or directory")};
        if (!present.contains(path))
            created.insert(path);
        present.insert(path);
        return {true, QString()};
    }

    QByteArray readEnd(const QString& path, qint64 maxBytes) const override
    {
        const QByteArray content = written.value(path);
        return content.size() > maxBytes ? content.right(maxBytes) : content;
    }

    QSet<QString> present;
    QMap<QString, QByteArray> written;
    QSet<QString> created;
    QSet<QString> missingFolders;
    int writeCount = 0;

private:
    bool refused(const QString& path) const
    {
        for (const QString& folder : missingFolders)
            if (path.startsWith(folder + QLatin1Char('/')))
                return true;
        return false;
    }
};

} // namespace zb
