#pragma once

#include "EmailSettings.h"
#include "platform/CommandShell.h"

#include <QString>

namespace zb {

// The one line that says why the mailer failed, from its output: its own
// "ERROR => ..." or a Perl module it could not load; empty when neither.
QString mailerProblem(const QString& output);

// What a user reads after a test e-mail: whether the mailer ended, its exit
// status, and the last lines it printed, with the login and the password
// blanked out: as typed, as the mailer's own warnings quote them, and in the
// base64 of an SMTP AUTH exchange.
QString testEmailReport(const CommandOutcome& outcome, const EmailSettings& sent, const QString& mailerName,
                        int timeoutSeconds);

} // namespace zb
