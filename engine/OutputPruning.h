#pragma once

#include <QString>
#include <QStringList>

namespace zb {

// Which task output files ("<pass stamp>-task-<n>.log") go when the pass
// stamped `beginning` starts, so that `passesKept` passes' output remains,
// the beginning pass's among them. Decided from the names alone, never from
// the journal, so that a pass's start costs a folder listing however long
// the journal has grown.
//
// Stamps sort as the clock ran. A stamp later than the beginning pass's was
// made before the clock was set back: such a pass may be the one just before
// this one, and a name cannot tell it from one long past, so its output is
// kept until the clock has passed it again. Files of other names are never
// touched.
QStringList outputToPrune(const QStringList& files, const QString& beginning, int passesKept);

} // namespace zb
