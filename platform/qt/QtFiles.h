#pragma once

#include "platform/Files.h"

namespace zb {

class QtFiles : public Files {
public:
    bool exists(const QString& path) const override;
    bool folderExists(const QString& path) const override;
    FileText readTail(const QString& path, int maxLines) const override;

    // How much of a file's end readTail reads at most.
    static constexpr qint64 kTailBytes = 1 << 20;
    FileResult writePrivateFile(const QString& path, const QByteArray& content) override;
    FileResult createPrivateFile(const QString& path) override;
    QByteArray readEnd(const QString& path, qint64 maxBytes) const override;
};

} // namespace zb
