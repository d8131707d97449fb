#pragma once

#include <QString>

namespace zb {

// What the running executable is called and where it sits. The base name is
// the settings section and names every per-copy file.
class ExecutableInfo {
public:
    virtual ~ExecutableInfo() = default;
    virtual QString baseName() const = 0;
    virtual QString programFolder() const = 0;
    // The executable's file name in that folder as it was started, ".exe"
    // and all.
    virtual QString fileName() const { return baseName(); }
};

} // namespace zb
