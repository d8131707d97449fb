#pragma once

#include "platform/ProgramData.h"

#include <QStringList>

namespace zb {

// Reads the data files from the first of its folders that holds the file.
class InstalledProgramData : public ProgramData {
public:
    explicit InstalledProgramData(QStringList folders);

    // Where the data of a program running from `executableFolder` lies: in
    // share/zb-sequenta under its prefix (bin/..), wherever it was installed,
    // else in share/zb-sequenta beside it, as in the build tree.
    static QStringList foldersFor(const QString& executableFolder);

    QString readText(const QString& name) const override;

private:
    QStringList folders_;
};

} // namespace zb
