#pragma once

#include <QString>

namespace zb {

// Answers afresh at every call whether at least one process of the given
// image name is running.
class ProcessQuery {
public:
    virtual ~ProcessQuery() = default;
    virtual bool isProcessRunning(const QString& name) = 0;
};

} // namespace zb
