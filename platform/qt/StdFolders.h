#pragma once

#include "platform/Folders.h"

namespace zb {

// Folders made with the standard library; the reason of a failure is the
// system's own message.
class StdFolders : public Folders {
public:
    FolderResult makeFolder(const QString& path) override;
};

} // namespace zb
