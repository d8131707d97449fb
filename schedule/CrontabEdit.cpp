#include "CrontabEdit.h"

#include "CronEntry.h"

#include <QList>

namespace zb::schedule {

namespace {

QList<QByteArray> linesOf(const QByteArray& table)
{
    QList<QByteArray> lines = table.split('\n');
    if (table.isEmpty() || table.endsWith('\n'))
        lines.removeLast();
    return lines;
}

QByteArray tableOf(const QList<QByteArray>& lines)
{
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + '\n';
    return out;
}

// Where sh's comment begins: the first # outside quotes that starts a word;
// -1 when the line has none.
qsizetype commentStart(const QByteArray& line)
{
    char quote = 0;
    bool escaped = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line.at(i);
        if (escaped) {
            escaped = false;
        } else if (quote == '\'') {
            if (c == '\'')
                quote = 0;
        } else if (c == '\\') {
            escaped = true;
        } else if (quote == '"') {
            if (c == '"')
                quote = 0;
        } else if (c == '\'' || c == '"') {
            quote = c;
        } else if (c == '#' && (i == 0 || line.at(i - 1) == ' ' || line.at(i - 1) == '\t')) {
            return i;
        }
    }
    return -1;
}

// The line's comment, as sh gets it after cron's unescaping, is exactly the
// marker. A marker never ends in a blank, so blanks a hand edit leaves after
// it do not hide it.
bool endsWithMarker(const QByteArray& line, const QByteArray& marker)
{
    const QByteArray sh = cronUnescaped(line);
    const qsizetype at = commentStart(sh);
    if (at < 0)
        return false;
    QByteArray comment = sh.mid(at);
    while (!comment.isEmpty() && (comment.endsWith(' ') || comment.endsWith('\t') || comment.endsWith('\r')))
        comment.chop(1);
    return comment == cronUnescaped(marker);
}

// This copy's line as it runs, or nullopt-like empty state for other lines.
FoundEntry classify(const QByteArray& line, const QByteArray& marker)
{
    if (line.startsWith(kDisabledPrefix)) {
        const QByteArray runs = line.mid(qsizetype(sizeof kDisabledPrefix) - 1);
        return endsWithMarker(runs, marker) ? FoundEntry{EntryState::Disabled, runs} : FoundEntry{};
    }
    if (line.trimmed().startsWith('#'))
        return {}; // a comment the user wrote, not ours to run
    return endsWithMarker(line, marker) ? FoundEntry{EntryState::Enabled, line} : FoundEntry{};
}

} // namespace

FoundEntry findEntry(const QByteArray& table, const QByteArray& marker)
{
    for (const QByteArray& line : linesOf(table))
        if (FoundEntry e = classify(line, marker); e.state != EntryState::Missing)
            return e;
    return {};
}

QByteArray withEntry(const QByteArray& table, const QByteArray& marker, const QByteArray& line)
{
    QList<QByteArray> out;
    bool placed = false;
    for (const QByteArray& l : linesOf(table)) {
        if (classify(l, marker).state == EntryState::Missing)
            out << l;
        else if (!placed) {
            out << line;
            placed = true;
        }
    }
    if (!placed)
        out << line;
    return tableOf(out);
}

QByteArray withoutEntry(const QByteArray& table, const QByteArray& marker)
{
    QList<QByteArray> out;
    for (const QByteArray& l : linesOf(table))
        if (classify(l, marker).state == EntryState::Missing)
            out << l;
    return tableOf(out);
}

QByteArray withEntryEnabled(const QByteArray& table, const QByteArray& marker, bool enabled)
{
    QList<QByteArray> out;
    for (const QByteArray& l : linesOf(table)) {
        const FoundEntry e = classify(l, marker);
        if (e.state == EntryState::Missing)
            out << l;
        else
            out << (enabled ? e.line : kDisabledPrefix + e.line);
    }
    return tableOf(out);
}

} // namespace zb::schedule
