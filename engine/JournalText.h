#pragma once

#include "RunJournal.h"

#include <QDateTime>
#include <optional>

namespace zb {

// One line of the run journal: "<local time with offset> <event> key=value…".
// A value with blanks, quotes or line breaks is written in double quotes
// with backslash escapes, so that every event stays on one line. A line of
// a pass ends with "pass=<its id>", so that lines of two passes or two copies
// never mix; older journals have none.
QString journalLine(const QDateTime& when, const JournalEvent& event, const QString& pass = QString());

// The word that names events of this kind: a line's second word.
QLatin1StringView journalEventWord(JournalEvent::Kind kind);

// ISO 8601 with the offset from UTC always written, local times included.
QString isoTimeWithOffset(const QDateTime& when);

struct JournalEntry {
    QDateTime when;
    JournalEvent event;
    QString pass; // the id of the pass the line belongs to; empty when it names none
};

// The entry a journal line holds, or nothing for a line that is not one.
std::optional<JournalEntry> parseJournalLine(QStringView line);

} // namespace zb
