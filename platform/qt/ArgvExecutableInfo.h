#pragma once

#include "platform/ExecutableInfo.h"

namespace zb {

// The executable as it was started: a copy or a link under another name is
// another copy. The base name is argv[0]'s file name without a trailing
// ".exe"; the program folder is the folder that holds that name. A bare name
// was found on PATH, so the folder is where PATH finds it; should PATH not
// find it (a caller that set argv[0] freely), it is the folder of the running
// executable, never the current folder.
class ArgvExecutableInfo : public ExecutableInfo {
public:
    // `runningExecutable` is a link to the running program's file.
    explicit ArgvExecutableInfo(const QString& argv0,
                                const QString& runningExecutable = QStringLiteral("/proc/self/exe"));

    QString baseName() const override { return baseName_; }
    QString programFolder() const override { return programFolder_; }
    QString fileName() const override { return fileName_; }

private:
    QString baseName_;
    QString fileName_;
    QString programFolder_;
};

} // namespace zb
