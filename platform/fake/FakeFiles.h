#pragma once

#include "platform/Files.h"

#include <QSet>

namespace zb {

// A scripted set of files that exist.
class FakeFiles : public Files {
public:
    bool exists(const QString& path) const override { return present.contains(path); }

    QSet<QString> present;
};

} // namespace zb
