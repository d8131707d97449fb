#pragma once

#include "platform/Files.h"

#include <QFileInfo>

namespace zb {

class QtFiles : public Files {
public:
    bool exists(const QString& path) const override { return QFileInfo(path).isFile(); }
};

} // namespace zb
