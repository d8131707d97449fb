#pragma once

#include "platform/ProcessQuery.h"

#include <QList>
#include <QMap>

namespace zb {

// A scripted process table: running[name] is how many more queries will
// find that name running (-1: running until changed). While `unreadable` is
// set, every query finds the list unreadable.
class FakeProcessQuery : public ProcessQuery {
public:
    ProcessPresence isProcessRunning(const QString& name) override
    {
        queries.append(name);
        if (unreadable)
            return ProcessPresence::Unknown;
        auto it = running.find(name);
        if (name.isEmpty() || it == running.end() || it.value() == 0)
            return ProcessPresence::NotRunning;
        if (it.value() > 0)
            --it.value();
        return ProcessPresence::Running;
    }

    // Whether the process `pid` answers to `name`: listed in names[pid].
    bool answersTo(qint64 pid, const QString& name) override { return names.value(pid) == name && !name.isEmpty(); }

    QMap<QString, int> running;
    QMap<qint64, QString> names;
    bool unreadable = false;
    QList<QString> queries;
};

} // namespace zb
