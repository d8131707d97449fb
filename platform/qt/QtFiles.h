#pragma once

#include "platform/Files.h"

namespace zb {

class QtFiles : public Files {
public:
    bool exists(const QString& path) const override;
    FileResult writePrivateFile(const QString& path, const QByteArray& content) override;
    FileResult createPrivateFile(const QString& path) override;
    QByteArray readEnd(const QString& path, qint64 maxBytes) const override;
};

} // namespace zb
