#pragma once

#include <QString>

namespace zb {

struct FolderResult {
    bool ok = false;
    QString error; // why the folder could not be made; empty when ok
};

// Makes folders on disk. An existing folder is not a failure.
class Folders {
public:
    virtual ~Folders() = default;
    virtual FolderResult makeFolder(const QString& path) = 0;
};

} // namespace zb
