#include "TestEmailReport.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace zb {

namespace {

constexpr int kLinesShown = 8;

QString base64(const QString& text) { return QString::fromLatin1(text.toUtf8().toBase64()); }

QString lastLines(const QByteArray& output, const EmailSettings& sent)
{
    QString text = QString::fromUtf8(output);
    QStringList secrets;
    if (!sent.password.isEmpty())
        secrets << base64(sent.password) << base64(sent.user + QChar(0) + sent.user + QChar(0) + sent.password);
    if (!sent.user.isEmpty())
        secrets << base64(sent.user);
    // The mailer's own warnings quote an argument as typed ("[password= x]"),
    // with its line breaks turned into ", " and blanks at the end dropped.
    for (const QString& typed : {sent.password, sent.user}) {
        if (typed.trimmed().isEmpty())
            continue;
        QString logged = typed;
        logged.replace(QRegularExpression(QStringLiteral("\\r?\\n")), QStringLiteral(", "));
        secrets << typed << logged << typed.trimmed() << logged.trimmed();
    }
    // The longest first, so that no part of a secret is left beside its blank.
    std::sort(secrets.begin(), secrets.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& s : secrets)
        if (!s.isEmpty())
            text.replace(s, QStringLiteral("[hidden]"));

    QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString& l : lines)
        l = l.trimmed();
    lines.removeAll(QString());
    if (lines.size() > kLinesShown)
        lines = lines.mid(lines.size() - kLinesShown);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

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
    return tail.isEmpty() ? head : head + QStringLiteral("\n\nLast lines of its output:\n") + tail;
}

} // namespace zb
