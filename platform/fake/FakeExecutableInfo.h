#pragma once

#include "platform/ExecutableInfo.h"

#include <utility>

namespace zb {

class FakeExecutableInfo : public ExecutableInfo {
public:
    explicit FakeExecutableInfo(QString baseName = QStringLiteral("zb-sequenta"),
                                QString folder = QStringLiteral("/opt/zb"))
        : baseName_(std::move(baseName)),
          folder_(std::move(folder))
    {}
    QString baseName() const override { return baseName_; }
    QString programFolder() const override { return folder_; }
    QString fileName() const override { return fileName_.isEmpty() ? baseName_ : fileName_; }

    QString baseName_;
    QString folder_;
    QString fileName_; // the base name when empty
};

} // namespace zb
