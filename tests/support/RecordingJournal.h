#pragma once

#include "engine/RunJournal.h"

#include <QList>
#include <cstdint>
#include <functional>

namespace zb {

// Records every event with the test clock's time; scripts a failing file and
// the lines read back.
class RecordingJournal : public RunJournal {
public:
    void record(const JournalEvent& event, const QString& pass = QString()) override
    {
        events.append(event);
        passes.append(pass);
        atMs.append(now ? now() : 0);
    }
    QString taskOutputFile(int n) override
    {
        return outputFolder.isEmpty() ? QString() : QStringLiteral("%1/task-%2.log").arg(outputFolder).arg(n);
    }
    QString failure() const override { return failing; }
    QStringList readLines() const override { return lines; }

    QList<JournalEvent::Kind> kinds() const
    {
        QList<JournalEvent::Kind> out;
        for (const JournalEvent& e : events)
            out << e.kind;
        return out;
    }

    QList<JournalEvent> events;
    QStringList passes; // the pass each event was recorded for
    QList<std::int64_t> atMs;
    QString outputFolder = QStringLiteral("/state/output");
    QString failing;   // non-empty: every write fails for this reason
    QStringList lines; // what the journal's file holds, as read back
    std::function<std::int64_t()> now;
};

} // namespace zb
