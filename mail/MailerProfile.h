#pragma once

#include "EmailSettings.h"
#include "engine/EmailBatch.h"
#include "platform/CommandShell.h"

#include <QByteArray>
#include <QString>

namespace zb {

// Where the mailer, the scripts and the log are, and how the windows name
// them, for one command profile. Paths are joined as written, without
// checking for a separator already there.

// <home>/sendEmail, or <home>\SendEmail.exe.
QString mailerPath(CommandProfile profile, const QString& home);
// <folder>/LOGS/<name>-SEND-EMAIL.LOG: one log for both e-mails of a copy.
QString emailLogPath(CommandProfile profile, const ProgramFacts& program);
// <folder>/BATS/<name>-START-EMAIL.sh (.bat on Windows), and -END-EMAIL.
QString emailScriptPath(CommandProfile profile, const ProgramFacts& program, EmailBatch kind);
// The script: the one command line and its line end (LF, or CR LF).
QByteArray emailScriptContent(CommandProfile profile, const QString& command);

// The texts that name the mailer to the user.
struct MailerTexts {
    QString mailerName;   // "sendEmail"
    QString homeExample;  // "/usr/bin": what "Use" fills in
    QString homeLabel;    // "\"sendEmail\" HOME - eg - /usr/bin"
    QString browserTitle; // "HOME FOLDER - sendEmail"
};
MailerTexts mailerTexts(CommandProfile profile);

} // namespace zb
