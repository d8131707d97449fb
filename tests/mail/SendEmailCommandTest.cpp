#include "mail/SendEmailCommand.h"
#include "mail/MailerProfile.h"
#include "tests/support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zb {
namespace {

const ProgramFacts kWindowsProgram{QStringLiteral("C:\\ZB"), QStringLiteral("X")};
const ProgramFacts kLinuxProgram{QStringLiteral("/opt/zb"), QStringLiteral("X")};

QString windows(const EmailSettings& s, const ProgramFacts& p = kWindowsProgram)
{
    return buildSendEmailCommand(s, startEmailSubject(p.baseName), p, CommandProfile::WindowsBatch);
}

QString posix(const EmailSettings& s, const ProgramFacts& p = kLinuxProgram)
{
    return buildSendEmailCommand(s, startEmailSubject(p.baseName), p, CommandProfile::PosixShell);
}

TEST(SendEmailCommand, WindowsProfileWithEveryFieldEmptyKeepsAllSixteenPieces)
{
    EXPECT_EQ(windows({}),
              QStringLiteral("call \"\\SendEmail.exe\" -f \"\" -t \"\" -cc \"\" -bcc \"\""
                             " -u \"ZB-SEQUENTA - X - STARTED\" -m \"ZB-SEQUENTA - X - STARTED\" -s \"\" -xu \"\""
                             " -xp \"\" -o reply-to= -l \"C:\\ZB\\LOGS\\X-SEND-EMAIL.LOG\" -o tls=no"
                             " -o username= -o password= -q -v "));
    EXPECT_EQ(emailScriptContent(CommandProfile::WindowsBatch, QStringLiteral("call x")), QByteArray("call x\r\n"));
    EXPECT_EQ(emailScriptPath(CommandProfile::WindowsBatch, kWindowsProgram, EmailBatch::End),
              QStringLiteral("C:\\ZB\\BATS\\X-END-EMAIL.bat"));
}

TEST(SendEmailCommand, WindowsProfileInsertsValuesVerbatimAndDoublesBackslashesAtRoots)
{
    EmailSettings s;
    s.home = QStringLiteral("C:\\SE\\");
    s.server = QStringLiteral("mail:25");
    s.user = QStringLiteral("u");
    s.password = QStringLiteral("p\"%x%");
    s.from = QStringLiteral("a@b");
    s.to = QStringLiteral("c@d");
    s.tls = QStringLiteral("auto");
    EXPECT_EQ(windows(s, {QStringLiteral("C:\\"), QStringLiteral("X")}),
              QStringLiteral("call \"C:\\SE\\\\SendEmail.exe\" -f \"a@b\" -t \"c@d\" -cc \"\" -bcc \"\""
                             " -u \"ZB-SEQUENTA - X - STARTED\" -m \"ZB-SEQUENTA - X - STARTED\" -s \"mail:25\""
                             " -xu \"u\" -xp \"p\"%x%\" -o reply-to=a@b -l \"C:\\\\LOGS\\X-SEND-EMAIL.LOG\""
                             " -o tls=auto -o username=u -o password=p\"%x% -q -v "));
}

TEST(SendEmailCommand, TheEndCommandDiffersOnlyInTheSubjectInBothProfiles)
{
    EmailSettings s;
    s.to = QStringLiteral("STARTED@example.org"); // the word elsewhere is left alone
    for (const CommandProfile profile : {CommandProfile::WindowsBatch, CommandProfile::PosixShell}) {
        const QString start = buildSendEmailCommand(s, startEmailSubject(QStringLiteral("X")), kLinuxProgram, profile);
        const QString end = buildSendEmailCommand(s, endEmailSubject(QStringLiteral("X")), kLinuxProgram, profile);
        QString expected = start;
        expected.replace(QStringLiteral(" - STARTED"), QStringLiteral(" - COMPLETED"));
        EXPECT_EQ(end, expected);
        // The shell line names its subject once and uses it twice.
        EXPECT_EQ(end.count(QStringLiteral("ZB-SEQUENTA - X - COMPLETED")),
                  profile == CommandProfile::WindowsBatch ? 2 : 1);
    }
}

TEST(SendEmailCommand, PosixProfileQuotesEveryValueTheOptionValuesToo)
{
    // The password goes in the environment of a perl that hands it on.
    QString posixLine = posix({});
    posixLine.remove(posixLine.section(QLatin1Char('\''), 5, 5));
    EXPECT_EQ(posixLine, QStringLiteral("s='ZB-SEQUENTA - X - STARTED'; m=$s; f=/dev/null;"
                                        " [ $# -lt 1 ] || { s=$1; m=$1; }; [ $# -lt 2 ] || { m=; f=$2; };"
                                        " ZB_SMTP_PASSWORD='' perl -e ''"
                                        " '/sendEmail' -f '' -t '' -cc '' -bcc ''"
                                        " -u \"$s\" -m \"$m\" -s '' -xu ''"
                                        " -xp '' -o reply-to='' -l '/opt/zb/LOGS/X-SEND-EMAIL.LOG' -o tls='no'"
                                        " -o username='' -o password=''"
                                        " -o message-file=\"$f\" -o message-charset=utf-8 -q -v "));
    EXPECT_EQ(shellQuote(QStringLiteral("it's")), QStringLiteral("'it'\\''s'"));
    EXPECT_EQ(emailScriptContent(CommandProfile::PosixShell, QStringLiteral("ü")), QByteArray("\xc3\xbc\n"));
    EXPECT_EQ(emailScriptPath(CommandProfile::PosixShell, kLinuxProgram, EmailBatch::Start),
              QStringLiteral("/opt/zb/BATS/X-START-EMAIL.sh"));
}

// The words a stand-in mailer received, one per NUL.
QStringList readArgv(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("<no argv file>")};
    QStringList words;
    for (const QByteArray& w : f.readAll().split('\0'))
        words << QString::fromUtf8(w);
    words.removeLast(); // after the last NUL
    return words;
}

TEST(SendEmailCommand, HostileValuesReachTheMailerByteForByteThroughTheShell)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    // The home folder itself holds a blank, a quote and a dollar.
    const QString home = root.filePath(QStringLiteral("send 'mail' $HOME"));
    ASSERT_TRUE(QDir().mkpath(home));
    const QString argvFile = root.filePath(QStringLiteral("argv"));
    {
        QFile standIn(home + QStringLiteral("/sendEmail"));
        ASSERT_TRUE(standIn.open(QIODevice::WriteOnly));
        standIn.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$ZB_ARGV\"\n");
        standIn.close();
        standIn.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const char* hostile[] = {"'", "\"", "$x", "`id`", "%PATH%", "a b", "line\nbreak", "ü", "日本", "'\\''", "*", ";"};
    for (const char* h : hostile) {
        const QString v = QStringLiteral("<%1>").arg(QString::fromUtf8(h));
        SCOPED_TRACE(v.toStdString());
        EmailSettings s{home,
                        v + QStringLiteral("s"),
                        v + QStringLiteral("u"),
                        v + QStringLiteral("p"),
                        v + QStringLiteral("f"),
                        v + QStringLiteral("t"),
                        v + QStringLiteral("c"),
                        v + QStringLiteral("b"),
                        QStringLiteral("no")};
        // The copy's own name goes into the subject and the log's name.
        const ProgramFacts program{root.filePath(QStringLiteral("prog dir")), QStringLiteral("X") + v};
        const QString subject = startEmailSubject(program.baseName);
        // Run bare, as by hand; then as the engine runs the end script.
        const QStringList passArguments{QStringLiteral("ZB-SEQUENTA - X - COMPLETED WITH ERRORS ") + v,
                                        root.filePath(QStringLiteral("text ")) + v};
        for (const bool withArguments : {false, true}) {
            SCOPED_TRACE(withArguments ? "with the pass's subject and text" : "bare");
            QFile::remove(argvFile);
            QProcess sh;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("ZB_ARGV"), argvFile);
            env.insert(QStringLiteral("x"), QStringLiteral("EXPANDED"));
            sh.setProcessEnvironment(env);
            QStringList words{QStringLiteral("-c"),
                              buildSendEmailCommand(s, subject, program, CommandProfile::PosixShell)};
            if (withArguments)
                words << QStringLiteral("sh") << passArguments;
            sh.start(QStringLiteral("/bin/sh"), words);
            ASSERT_TRUE(sh.waitForFinished(10'000));
            EXPECT_EQ(sh.exitCode(), 0) << sh.readAllStandardError().toStdString();

            // Given a subject and a text file, the mail says it with an empty -m.
            const QString sentSubject = withArguments ? passArguments[0] : subject;
            const QString message = withArguments ? QString() : subject;
            const QString messageFile = withArguments ? passArguments[1] : QStringLiteral("/dev/null");
            const QString log =
                program.folder + QStringLiteral("/LOGS/") + program.baseName + QStringLiteral("-SEND-EMAIL.LOG");
            const QStringList expected = {QStringLiteral("-f"),   s.from,
                                          QStringLiteral("-t"),   s.to,
                                          QStringLiteral("-cc"),  s.cc,
                                          QStringLiteral("-bcc"), s.bcc,
                                          QStringLiteral("-u"),   sentSubject,
                                          QStringLiteral("-m"),   message,
                                          QStringLiteral("-s"),   s.server,
                                          QStringLiteral("-xu"),  s.user,
                                          QStringLiteral("-xp"),  s.password,
                                          QStringLiteral("-o"),   QStringLiteral("reply-to=") + s.from,
                                          QStringLiteral("-l"),   log,
                                          QStringLiteral("-o"),   QStringLiteral("tls=no"),
                                          QStringLiteral("-o"),   QStringLiteral("username=") + s.user,
                                          QStringLiteral("-o"),   QStringLiteral("password=") + s.password,
                                          QStringLiteral("-o"),   QStringLiteral("message-file=") + messageFile,
                                          QStringLiteral("-o"),   QStringLiteral("message-charset=utf-8"),
                                          QStringLiteral("-q"),   QStringLiteral("-v")};
            EXPECT_EQ(readArgv(argvFile), expected);
        }
    }
}

} // namespace
} // namespace zb
