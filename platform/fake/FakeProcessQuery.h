#pragma once

#include "platform/ProcessQuery.h"

#include <QList>
#include <QMap>

namespace zb {

// A scripted process table: running[name] is how many more queries will
// find that name running (-1: running until changed).
class FakeProcessQuery : public ProcessQuery {
public:
    bool isProcessRunning(const QString& name) override
    {
        queries.append(name);
        auto it = running.find(name);
        if (name.isEmpty() || it == running.end() || it.value() == 0)
            return false;
        if (it.value() > 0)
            --it.value();
        return true;
    }

    QMap<QString, int> running;
    QList<QString> queries;
};

} // namespace zb
