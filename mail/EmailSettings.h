#pragma once

#include <QString>

namespace zb {

// The values an e-mail command is built from, as the user typed them.
struct EmailSettings {
    QString home;     // folder that holds the mailer
    QString server;   // host:port
    QString user;     // SMTP login
    QString password; // SMTP password
    QString from;     // sender, also the reply-to address
    QString to;
    QString cc;
    QString bcc;
    QString tls = QStringLiteral("no"); // "no", "yes" or "auto"
};

// The running program, as the commands and scripts name it.
struct ProgramFacts {
    QString folder;   // where the program is; holds BATS and LOGS
    QString baseName; // the executable's name: names the scripts, the log and the subjects
};

} // namespace zb
