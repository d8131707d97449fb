#pragma once

#include "platform/Folders.h"

#include <QSet>
#include <QStringList>

namespace zb {

// Records the folders asked for; paths in failing are refused.
class FakeFolders : public Folders {
public:
    FolderResult makeFolder(const QString& path) override
    {
        made.append(path);
        if (failing.contains(path))
            return {false, QStringLiteral("Permission denied")};
        return {true, QString()};
    }

    QStringList made;
    QSet<QString> failing;
};

} // namespace zb
