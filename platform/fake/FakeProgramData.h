#pragma once

#include "platform/ProgramData.h"

#include <QMap>

namespace zb {

// Data files held in memory, by name.
class FakeProgramData : public ProgramData {
public:
    QString readText(const QString& name) const override
    {
        ++reads;
        return files.value(name);
    }

    QMap<QString, QString> files;
    mutable int reads = 0;
};

} // namespace zb
