#pragma once

#include "PassAccount.h"

#include <QByteArray>
#include <functional>

namespace zb {

// How many of a failed task's last output lines its pass's report shows.
inline constexpr int kReportOutputLines = 20;

// The subject of the end e-mail: "ZB-SEQUENTA - <name> - COMPLETED" for a
// pass that went well, "ZB-SEQUENTA - <name> - COMPLETED WITH ERRORS" for a
// pass with any problem.
QString endEmailSubjectFor(const QString& baseName, bool clean);

// The text of the end e-mail: the subject line, the pass as History shows
// it, then the last lines of the output of each task that ended badly.
// `readEnd` gives the last bytes of an output file.
QString passReportText(const QString& subject, const HistoryPass& pass,
                       const std::function<QByteArray(const QString& file, qint64 maxBytes)>& readEnd);

} // namespace zb
