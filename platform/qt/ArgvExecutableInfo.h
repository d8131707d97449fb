#pragma once

#include "platform/ExecutableInfo.h"

namespace zb {

// The executable as it was started: a copy or a link under another name is
// another copy. The base name is argv[0]'s file name without a trailing
// ".exe"; the program folder is the folder that holds that name (found on
// PATH when argv[0] names no folder).
class ArgvExecutableInfo : public ExecutableInfo {
public:
    explicit ArgvExecutableInfo(const QString& argv0);

    QString baseName() const override { return baseName_; }
    QString programFolder() const override { return programFolder_; }

private:
    QString baseName_;
    QString programFolder_;
};

} // namespace zb
