#pragma once

#include "RunJournal.h"

#include <QDateTime>
#include <optional>

namespace zb {

// One line of the run journal: "<local time with offset> <event> key=value…".
// A value with blanks, quotes or line breaks is written in double quotes
// with backslash escapes, so that every event stays on one line.
QString journalLine(const QDateTime& when, const JournalEvent& event);

// The word that names events of this kind: a line's second word.
QLatin1StringView journalEventWord(JournalEvent::Kind kind);

// ISO 8601 with the offset from UTC always written, local times included.
QString isoTimeWithOffset(const QDateTime& when);

struct JournalEntry {
    QDateTime when;
    JournalEvent event;
};

// The entry a journal line holds, or nothing for a line that is not one.
std::optional<JournalEntry> parseJournalLine(QStringView line);

} // namespace zb
