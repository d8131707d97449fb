#include "MailerProfile.h"

namespace zb {

namespace {
bool isPosix(CommandProfile profile) { return profile == CommandProfile::PosixShell; }
} // namespace

QString mailerPath(CommandProfile profile, const QString& home)
{
    return home + (isPosix(profile) ? QStringLiteral("/sendEmail") : QStringLiteral("\\SendEmail.exe"));
}

QString emailLogPath(CommandProfile profile, const ProgramFacts& program)
{
    return program.folder + (isPosix(profile) ? QStringLiteral("/LOGS/") : QStringLiteral("\\LOGS\\")) +
           program.baseName + QStringLiteral("-SEND-EMAIL.LOG");
}

QString emailScriptPath(CommandProfile profile, const ProgramFacts& program, EmailBatch kind)
{
    if (isPosix(profile))
        return emailBatchPath(program.folder, program.baseName, kind);
    return program.folder + QStringLiteral("\\BATS\\") + program.baseName +
           (kind == EmailBatch::Start ? QStringLiteral("-START-EMAIL.bat") : QStringLiteral("-END-EMAIL.bat"));
}

QByteArray emailScriptContent(CommandProfile profile, const QString& command)
{
    if (isPosix(profile))
        return command.toUtf8() + '\n';
    return command.toLocal8Bit() + "\r\n";
}

MailerTexts mailerTexts(CommandProfile profile)
{
    MailerTexts t;
    if (isPosix(profile)) {
        t.mailerName = QStringLiteral("sendEmail");
        t.homeExample = QStringLiteral("/usr/bin");
    } else {
        t.mailerName = QStringLiteral("SendEmail.exe");
        t.homeExample = QStringLiteral("C:\\ZEBRANE-ROOT\\SendEmail");
    }
    t.homeLabel = QLatin1Char('"') + t.mailerName + QStringLiteral("\" HOME - eg - ") + t.homeExample;
    t.browserTitle = QStringLiteral("HOME FOLDER - ") + t.mailerName;
    return t;
}

} // namespace zb
