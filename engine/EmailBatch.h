#pragma once

#include <QString>

namespace zb {

// The two e-mail batch files of a copy of the program.
enum class EmailBatch { Start, End };

// {folder} + "/BATS/" + {base} + "-START-EMAIL.sh" (or "-END-EMAIL.sh"),
// joined as written: the folder is taken as it is given.
QString emailBatchPath(const QString& programFolder, const QString& baseName, EmailBatch kind);

// Status texts of running a batch file.
QString emailBatchNotFoundText(EmailBatch kind);
QString emailBatchFailedText(EmailBatch kind);

} // namespace zb
