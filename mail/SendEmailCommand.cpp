#include "SendEmailCommand.h"

#include "MailerProfile.h"
#include "engine/PassReport.h"

namespace zb {

namespace {

const QString kTitle = QStringLiteral("ZB-SEQUENTA - ");

QString doubleQuoted(const QString& text) { return QLatin1Char('"') + text + QLatin1Char('"'); }

// A command line is readable by every local user (/proc/<pid>/cmdline), an
// environment by its owner only: the shell hands the password to perl in
// the environment, and perl puts it into sendEmail's arguments (options and
// values come in pairs) and runs the mailer, a Perl script, in-process under
// its own name. sendEmail writes its arguments into its process title ($0):
// its $0 is made a plain variable first. Another mailer is started with the
// password in its arguments, as before. No single quote: the code stands in
// one.
const QString kPasswordWrapper =
    QStringLiteral("my $p = delete $ENV{ZB_SMTP_PASSWORD}; my $m = shift;"
                   " for (my $i = 0; $i < $#ARGV; $i += 2) { $ARGV[$i + 1] = $p if $ARGV[$i] eq q(-xp);"
                   " $ARGV[$i + 1] .= $p if $ARGV[$i] eq q(-o) && $ARGV[$i + 1] eq q(password=); }"
                   " open(my $h, q(<), $m) or do { print STDERR qq($m: $!\\n); exit($!{ENOENT} ? 127 : 126) };"
                   " my $head = <$h>; close $h;"
                   " exec { $m } $m, @ARGV or exit 126 unless defined $head && $head =~ /^#!.*perl/;"
                   " $0 = $m; *0 = \\(my $name = $m); do($m =~ m(^/) ? $m : qq(./$m)); die $@ if $@; exit 0;");

} // namespace

QString startEmailSubject(const QString& baseName) { return kTitle + baseName + QStringLiteral(" - STARTED"); }

QString endEmailSubject(const QString& baseName) { return endEmailSubjectFor(baseName, true); }

QString shellQuote(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return QLatin1Char('\'') + out + QLatin1Char('\'');
}

QString buildSendEmailCommand(const EmailSettings& s, const QString& subject, const ProgramFacts& program,
                              CommandProfile profile)
{
    const bool posix = profile == CommandProfile::PosixShell;
    // A value between the option texts, and a value glued to an "-o name=".
    const auto value = [posix](const QString& v) { return posix ? shellQuote(v) : doubleQuoted(v); };
    const auto optionValue = [posix](const QString& v) { return posix ? shellQuote(v) : v; };

    QString c;
    if (posix) {
        // Run as the engine runs the end script, with the pass's subject and
        // the file of its text, the mail says how the pass ended; run bare,
        // by hand or as the test e-mail, it sends the subject as its text.
        c += QStringLiteral("s=") + shellQuote(subject) + QStringLiteral("; m=$s; f=/dev/null; ");
        c += QStringLiteral("[ $# -lt 1 ] || { s=$1; m=$1; }; [ $# -lt 2 ] || { m=; f=$2; }; ");
    }
    if (posix)
        c += QStringLiteral("ZB_SMTP_PASSWORD=") + shellQuote(s.password) + QStringLiteral(" perl -e ") +
             shellQuote(kPasswordWrapper) + QLatin1Char(' ');
    c += (posix ? QString() : QStringLiteral("call ")) + value(mailerPath(profile, s.home));
    c += QStringLiteral(" -f ") + value(s.from);
    c += QStringLiteral(" -t ") + value(s.to);
    c += QStringLiteral(" -cc ") + value(s.cc);
    c += QStringLiteral(" -bcc ") + value(s.bcc);
    c += QStringLiteral(" -u ") + (posix ? QStringLiteral("\"$s\"") : value(subject));
    c += QStringLiteral(" -m ") + (posix ? QStringLiteral("\"$m\"") : value(subject));
    c += QStringLiteral(" -s ") + value(s.server);
    c += QStringLiteral(" -xu ") + value(s.user);
    c += QStringLiteral(" -xp ") + (posix ? value(QString()) : value(s.password));
    c += QStringLiteral(" -o reply-to=") + optionValue(s.from);
    c += QStringLiteral(" -l ") + value(emailLogPath(profile, program));
    c += QStringLiteral(" -o tls=") + optionValue(s.tls);
    c += QStringLiteral(" -o username=") + optionValue(s.user);
    c += QStringLiteral(" -o password=") + (posix ? optionValue(QString()) : optionValue(s.password));
    // An empty -m leaves the text to the file; the text is UTF-8, as task output is.
    if (posix)
        c += QStringLiteral(" -o message-file=\"$f\" -o message-charset=utf-8");
    c += QStringLiteral(" -q ") + QStringLiteral("-v ");
    return c;
}

} // namespace zb
