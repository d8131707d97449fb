#pragma once

#include "platform/Files.h"

#include <QMap>
#include <QSet>
#include <QStringList>

#include <algorithm>

namespace zb {

// A scripted set of files that exist; written files are kept in memory.
// Paths under a folder listed in missingFolders cannot be written.
class FakeFiles : public Files {
public:
    bool exists(const QString& path) const override { return present.contains(path); }
    bool folderExists(const QString& path) const override { return folders.contains(path); }

    // The whole text of a file written or scripted in `texts`, its last
    // lines as asked.
    FileText readTail(const QString& path, int maxLines) const override
    {
        ++tailReads;
        const QByteArray content = texts.contains(path) ? texts.value(path) : written.value(path);
        if (!texts.contains(path) && !written.contains(path))
            return {false, QString(), QStringLiteral("No such file or directory"), false};
        QStringList lines = QString::fromUtf8(content).split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        const bool cut = lines.size() > maxLines;
        return {true, lines.mid(std::max<qsizetype>(0, lines.size() - maxLines)).join(QLatin1Char('\n')), QString(),
                cut};
    }

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
    QSet<QString> folders;
    QMap<QString, QByteArray> texts;
    mutable int tailReads = 0;
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
