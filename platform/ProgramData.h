#pragma once

#include <QString>

namespace zb {

// The read-only data files installed with the program (share/zb-sequenta
// under its installation prefix), as whoever packaged it shipped them.
class ProgramData {
public:
    virtual ~ProgramData() = default;
    // The named file's text; empty when this installation has no such file
    // or it cannot be read.
    virtual QString readText(const QString& name) const = 0;
};

} // namespace zb
