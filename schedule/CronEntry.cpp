#include "CronEntry.h"

#include <QRegularExpression>

namespace zb::schedule {

namespace {

bool asciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool twoDigits(const QString& t, int at) { return asciiDigit(t.at(at)) && asciiDigit(t.at(at + 1)); }

bool holdsLineBreak(const QString& t) { return t.contains(QLatin1Char('\n')) || t.contains(QLatin1Char('\r')); }

} // namespace

std::optional<ClockTime> parseRunTime(const QString& text)
{
    if (text.size() != 5 || text.at(2) != QLatin1Char(':') || !twoDigits(text, 0) || !twoDigits(text, 3))
        return std::nullopt;
    const ClockTime t{text.left(2).toInt(), text.mid(3).toInt()};
    if (t.hour > 23 || t.minute > 59)
        return std::nullopt;
    return t;
}

QString cronEscaped(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('%'), QStringLiteral("\\%"));
    return out;
}

QString cronShellWord(const QString& text)
{
    QString out = text;
    out.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    // A backslash before a % would swallow the escape cron needs: end the
    // quote between the two ('' is nothing to sh).
    out.replace(QStringLiteral("\\%"), QStringLiteral("\\''%"));
    return cronEscaped(QLatin1Char('\'') + out + QLatin1Char('\''));
}

QByteArray entryMarker(const QString& taskName) { return (QStringLiteral("# ") + cronEscaped(taskName)).toUtf8(); }

ComposedLine composeEntry(const CronSchedule& when, const QList<EnvAssignment>& environment, const QString& programPath,
                          const QString& taskName)
{
    if (holdsLineBreak(programPath) || holdsLineBreak(taskName))
        return {{}, QStringLiteral("The program's path or name holds a line break, which a crontab line cannot.")};
    QString command;
    for (const EnvAssignment& e : environment) {
        // A value cron could not keep on one line is left out.
        if (!holdsLineBreak(e.value))
            command += e.name + QLatin1Char('=') + cronShellWord(e.value) + QLatin1Char(' ');
    }
    command += cronShellWord(programPath);
    const QString day = when.dayOfWeek == 0 ? QStringLiteral("*") : QString::number(when.dayOfWeek);
    const QString line =
        QStringLiteral("%1 %2 * * %3 ").arg(when.minute).arg(when.hour).arg(day) + command + QLatin1Char(' ');
    return {line.toUtf8() + entryMarker(taskName), {}};
}

std::optional<CronSchedule> parseSchedule(const QByteArray& line)
{
    static const QRegularExpression fields(
        QStringLiteral("^\\s*(\\d{1,2})\\s+(\\d{1,2})\\s+\\*\\s+\\*\\s+(\\*|[0-7])\\s"));
    const auto m = fields.match(QString::fromUtf8(line));
    if (!m.hasMatch())
        return std::nullopt;
    CronSchedule s{m.captured(1).toInt(), m.captured(2).toInt(), 0};
    if (m.captured(3) != QStringLiteral("*"))
        s.dayOfWeek = m.captured(3).toInt() == 0 ? 7 : m.captured(3).toInt();
    if (s.minute > 59 || s.hour > 23)
        return std::nullopt;
    return s;
}

QDateTime nextStart(const CronSchedule& when, const QDateTime& now)
{
    for (int d = 0; d <= 7; ++d) {
        const QDate date = now.date().addDays(d);
        if (when.dayOfWeek != 0 && date.dayOfWeek() != when.dayOfWeek)
            continue;
        const QDateTime at(date, QTime(when.hour, when.minute));
        if (at > now)
            return at;
    }
    return {};
}

} // namespace zb::schedule
