#pragma once

#include <QString>

namespace zb {

// Questions about files on disk.
class Files {
public:
    virtual ~Files() = default;
    virtual bool exists(const QString& path) const = 0;
};

} // namespace zb
