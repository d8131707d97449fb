#include "TestEmailReport.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace zb {

namespace {

constexpr int kLinesShown = 8;

QString base64(const QString& text) { return QString::fromLatin1(text.toUtf8().toBase64()); }

// The spellings of a typed value: as typed, and as the mailer's own warnings
// quote an argument ("[password= x]"), with its line breaks turned into ", "
// and blanks at the end dropped.
QStringList spellings(const QString& typed)
{
    if (typed.trimmed().isEmpty())
        return {};
    QString logged = typed;
    logged.replace(QRegularExpression(QStringLiteral("\\r?\\n")), QStringLiteral(", "));
    return {typed, logged, typed.trimmed(), logged.trimmed()};
}

// Blanks each value out, the longest first so that no part of one is left
// beside its blank. `whole` values are blanked only where they stand alone,
// not as letters inside an address or a host name.
void blankOut(QString& text, QStringList values, bool whole)
{
    std::sort(values.begin(), values.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& v : values) {
        if (v.isEmpty())
            continue;
        if (!whole) {
            text.replace(v, QStringLiteral("[hidden]"));
            continue;
        }
        // A full stop after it may end a sentence; one before it, or one
        // with more letters after it, makes it part of a name.
        const QRegularExpression alone(
            QStringLiteral("(?<![\\w@.\\-])%1(?![\\w@\\-]|\\.[\\w-])").arg(QRegularExpression::escape(v)));
        text.replace(alone, QStringLiteral("[hidden]"));
    }
}

QString lastLines(const QByteArray& output, const EmailSettings& sent)
{
    QString text = QString::fromUtf8(output);
    // The password goes wherever its letters stand: a leak costs more than
    // a blank too many.
    QStringList anywhere = spellings(sent.password);
    if (!sent.password.isEmpty())
        anywhere << base64(sent.password) << base64(sent.user + QChar(0) + sent.user + QChar(0) + sent.password);
    blankOut(text, anywhere, false);
    QStringList login = spellings(sent.user);
    if (!sent.user.isEmpty())
        login << base64(sent.user);
    blankOut(text, login, true);

    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& l : lines)
        l = l.trimmed();
    lines.removeAll(QString());
    if (lines.size() > kLinesShown)
        lines = lines.mid(lines.size() - kLinesShown);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString mailerProblem(const QString& output)
{
    const QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    static const QRegularExpression error(QStringLiteral("ERROR\\s*=>\\s*(.+)$"));
    static const QRegularExpression perlModule(QStringLiteral("Can't locate (\\S+)\\.pm"));
    for (const QString& line : lines) {
        if (const auto m = perlModule.match(line); m.hasMatch())
            return QStringLiteral("Why: a Perl module the mailer needs is missing: %1.")
                .arg(m.captured(1).replace(QLatin1Char('/'), QStringLiteral("::")));
    }
    for (auto it = lines.crbegin(); it != lines.crend(); ++it)
        if (const auto m = error.match(*it); m.hasMatch())
            return QStringLiteral("Why: ") + m.captured(1).trimmed();
    return QString();
}

QString testEmailReport(const CommandOutcome& outcome, const EmailSettings& sent, const QString& mailerName,
                        int timeoutSeconds)
{
    QString head;
    if (!outcome.started)
        return QStringLiteral("The test e-mail could not be sent: the shell did not start (%1).").arg(outcome.error);
    if (outcome.timedOut)
        head = QStringLiteral("%1 did not finish within %2 seconds and was stopped. Check the server and its port.")
                   .arg(mailerName)
                   .arg(timeoutSeconds);
    else if (outcome.crashed)
        head = QStringLiteral("%1 was ended by a signal before it finished.").arg(mailerName);
    else if (outcome.exitCode == 0)
        head = QStringLiteral("%1 ended with exit status 0: the test e-mail was handed to the server.").arg(mailerName);
    else if (outcome.exitCode == 127)
        head = QStringLiteral("%1 was not found (exit status 127). Check the home folder.").arg(mailerName);
    else
        head = QStringLiteral("%1 failed with exit status %2.").arg(mailerName).arg(outcome.exitCode);

    const QString tail = lastLines(outcome.output, sent);
    const bool failed = outcome.timedOut || outcome.crashed || outcome.exitCode != 0;
    if (const QString why = mailerProblem(tail); failed && !why.isEmpty())
        head += QStringLiteral("\n") + why;
    return tail.isEmpty() ? head : head + QStringLiteral("\n\nLast lines of its output:\n") + tail;
}

} // namespace zb
