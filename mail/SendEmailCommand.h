#pragma once

#include "EmailSettings.h"
#include "platform/CommandShell.h"

#include <QString>

namespace zb {

// The subjects of the two e-mails: "ZB-SEQUENTA - <name> - STARTED" and
// "ZB-SEQUENTA - <name> - COMPLETED". The body repeats the subject.
QString startEmailSubject(const QString& baseName);
QString endEmailSubject(const QString& baseName);

// One mailer command line in sixteen pieces, always all of them, in a fixed
// order: the mailer, -f, -t, -cc, -bcc, -u, -m, -s, -xu, -xp, -o reply-to,
// -l, -o tls, -o username, -o password, -q -v.
//
// WindowsBatch spells it for a batch file exactly as the Windows build always
// has: "call ", values between double quotes (option values bare), "\"
// separators, nothing escaped. PosixShell spells it for /bin/sh: every value,
// the option values too, in single quotes, so that any text (quotes, $, `,
// blanks, line breaks, any UTF-8) reaches the mailer as one unchanged word.
// Its line takes two optional arguments, a subject and a file that holds the
// text ("$1", "$2"), with which the engine sends a pass's report; without
// them it sends `subject` as subject and text, as the Windows line does.
QString buildSendEmailCommand(const EmailSettings& settings, const QString& subject, const ProgramFacts& program,
                              CommandProfile profile);

// The text as one word for a POSIX shell: in single quotes, each ' as '\''.
QString shellQuote(const QString& text);

} // namespace zb
