#include "CrontabEdit.h"

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

// Trailing blanks a hand edit may leave do not hide the marker.
bool endsWithMarker(const QByteArray& line, const QByteArray& marker)
{
    QByteArray l = line;
    while (!l.isEmpty() && (l.endsWith(' ') || l.endsWith('\t') || l.endsWith('\r')))
        l.chop(1);
    return l.endsWith(' ' + marker);
}

// This copy's line as it runs, or nullopt-like empty state for other lines.
FoundEntry classify(const QByteArray& line, const QByteArray& marker)
{
    if (!endsWithMarker(line, marker))
        return {};
    if (line.startsWith(kDisabledPrefix))
        return {EntryState::Disabled, line.mid(qsizetype(sizeof kDisabledPrefix) - 1)};
    if (line.trimmed().startsWith('#'))
        return {}; // a comment the user wrote, not ours to run
    return {EntryState::Enabled, line};
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
