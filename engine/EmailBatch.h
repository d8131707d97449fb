#pragma once

#include <QString>

namespace zb {

// The two e-mail batch files of a copy of the program.
enum class EmailBatch { Start, End };

// {folder} + "/BATS/" + {base} + "-START-EMAIL.sh" (or "-END-EMAIL.sh"),
// joined as written: the folder is taken as it is given.
QString emailBatchPath(const QString& programFolder, const QString& baseName, EmailBatch kind);

// {folder} + "/LOGS/" + {base} + "-END-EMAIL.txt": the text of the last end
// e-mail, beside the mailer's log. The end script is run with the subject and
// this file as its two arguments.
QString endEmailMessagePath(const QString& programFolder, const QString& baseName);

// Status texts of running a batch file.
QString emailBatchNotFoundText(EmailBatch kind);
QString emailBatchFailedText(EmailBatch kind);

} // namespace zb
