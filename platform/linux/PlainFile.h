#pragma once

#include <QString>

namespace zb {

// Opens `path` only when it is a plain file: a FIFO, a device or a folder in
// its place is refused at once instead of keeping the caller waiting (an
// open for reading or writing of a FIFO blocks until its other end comes).
// `flags` are open(2)'s.
// Returns the descriptor (close-on-exec, blocking again), or -1 and *error.
int openPlainFile(const QString& path, int flags, QString* error, unsigned mode = 0600);

} // namespace zb
