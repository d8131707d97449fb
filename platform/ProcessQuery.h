#pragma once

#include <QString>
#include <QtGlobal>

namespace zb {

// What a look at the process list found out about a name.
enum class ProcessPresence {
    Running,    // at least one process of the name runs
    NotRunning, // the list was read and none does
    Unknown,    // the list could not be read at all
};

// Answers afresh at every call whether at least one process of the given
// image name is running. The program's own process never counts.
class ProcessQuery {
public:
    virtual ~ProcessQuery() = default;
    virtual ProcessPresence isProcessRunning(const QString& name) = 0;
    // Starts reading, off the caller's thread, what the first query would
    // otherwise read itself.
    virtual void readAhead() {}
    // Whether the running process `pid` answers to the name; false where
    // it cannot be told.
    virtual bool answersTo(qint64 pid, const QString& name)
    {
        Q_UNUSED(pid);
        Q_UNUSED(name);
        return false;
    }
};

} // namespace zb
