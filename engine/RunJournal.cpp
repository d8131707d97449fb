#include "RunJournal.h"

#include "JournalText.h"

namespace zb {

QStringList RunJournal::readLastPassLines() const
{
    const QStringList lines = readLines();
    for (qsizetype i = lines.size() - 1; i >= 0; --i) {
        const std::optional<JournalEntry> entry = parseJournalLine(lines[i]);
        if (entry && entry->event.kind == JournalEvent::Kind::PassStarted)
            return lines.mid(i);
    }
    return lines;
}

} // namespace zb
