#pragma once

#include <QByteArray>

// Edits of a whole crontab that touch only this copy's line, found by the
// marker that ends it. Every other line (jobs, variables, comments) comes
// back byte for byte. A table that is not empty always ends in a newline,
// since the crontab program refuses one without.
namespace zb::schedule {

// Put before this copy's line to switch it off; recognisable and removable
// by hand.
inline constexpr char kDisabledPrefix[] = "#ZB-SEQUENTA-DISABLED# ";

enum class EntryState { Missing, Enabled, Disabled };

struct FoundEntry {
    EntryState state = EntryState::Missing;
    QByteArray line; // as it runs, without the disabled prefix
};

FoundEntry findEntry(const QByteArray& table, const QByteArray& marker);
// Replaces this copy's line (enabled or not, the first of several; the
// others go) with line, or adds line at the end.
QByteArray withEntry(const QByteArray& table, const QByteArray& marker, const QByteArray& line);
QByteArray withoutEntry(const QByteArray& table, const QByteArray& marker);
// Comments this copy's line out, or restores it; no line, no change.
QByteArray withEntryEnabled(const QByteArray& table, const QByteArray& marker, bool enabled);

} // namespace zb::schedule
