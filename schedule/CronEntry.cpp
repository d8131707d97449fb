#include "CronEntry.h"

#include <QRegularExpression>
#include <QStringList>

namespace zb::schedule {

namespace {

bool asciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

bool twoDigits(const QString& t, int at) { return asciiDigit(t.at(at)) && asciiDigit(t.at(at + 1)); }

// Why a text cannot stand in a crontab line exactly; empty when it can.
QString unwritable(const QString& text)
{
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return QStringLiteral("holds a line break");
    if (text.contains(QChar(0)))
        return QStringLiteral("holds a NUL byte");
    // What could not be read as UTF-8 came in as U+FFFD: its bytes are lost.
    if (text.contains(QChar::ReplacementCharacter))
        return QStringLiteral("holds bytes that are not UTF-8");
    return {};
}

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

QByteArray cronUnescaped(const QByteArray& command)
{
    QByteArray out;
    out.reserve(command.size());
    bool escaped = false;
    for (const char c : command) {
        if (escaped) {
            if (c != '%' && c != '\\')
                out += '\\';
            out += c;
            escaped = false;
        } else if (c == '\\') {
            escaped = true;
        } else if (c == '%') {
            return out;
        } else {
            out += c;
        }
    }
    if (escaped)
        out += '\\';
    return out;
}

QString cronEscaped(const QString& text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('%'))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

QString cronShellWord(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("'\\''"));
    return cronEscaped(QLatin1Char('\'') + quoted + QLatin1Char('\''));
}

QByteArray entryMarker(const QString& taskName)
{
    QString name = taskName;
    if (!name.isEmpty() && (name.back().isSpace() || name.back() == QLatin1Char('|')))
        name += QLatin1Char('|');
    return (QStringLiteral("# ") + cronEscaped(name)).toUtf8();
}

ComposedLine composeEntry(const CronSchedule& when, const QList<EnvAssignment>& environment, const QString& programPath,
                          const QString& taskName)
{
    if (const QString why = unwritable(programPath); !why.isEmpty())
        return {{}, QStringLiteral("The program's path %1, which a crontab line cannot carry exactly.").arg(why)};
    if (const QString why = unwritable(taskName); !why.isEmpty())
        return {{}, QStringLiteral("The program's name %1, which a crontab line cannot carry exactly.").arg(why)};
    QString command = QLatin1String(kScheduledStartVariable) + QStringLiteral("=1 ");
    for (const EnvAssignment& e : environment) {
        // A value cron could not keep exactly is left out.
        if (unwritable(e.value).isEmpty())
            command += e.name + QLatin1Char('=') + cronShellWord(e.value) + QLatin1Char(' ');
    }
    command += cronShellWord(programPath);
    const QByteArray commandBytes = command.toUtf8() + ' ' + entryMarker(taskName);
    if (commandBytes.size() > kMaxCommandBytes)
        return {{},
                QStringLiteral("The crontab line would be too long for cron: its command takes %1 bytes (the program's "
                               "path and its variables), and cron takes at most %2. Move the program to a shorter "
                               "folder or shorten PATH.")
                    .arg(commandBytes.size())
                    .arg(kMaxCommandBytes)};
    const QString fields =
        QStringLiteral("%1 %2 * * %3 ").arg(when.minute).arg(when.hour).arg(dayOfWeekField(when.days));
    return {fields.toUtf8() + commandBytes, {}};
}

QByteArray bootMarker(const QString& taskName) { return entryMarker(taskName) + " /boot"; }

ComposedLine composeBootEntry(const QList<EnvAssignment>& environment, const QString& programPath,
                              const QString& taskName)
{
    const ComposedLine entry = composeEntry({}, environment, programPath, taskName);
    if (!entry.error.isEmpty())
        return entry;
    const QByteArray mark = QByteArray(kScheduledStartVariable) + "=1 ";
    QByteArray command = entry.line.mid(entry.line.indexOf(mark) + mark.size());
    command = QByteArray(kScheduledStartVariable) + '=' + kBootStartValue + ' ' + command + " /boot";
    if (command.size() > kMaxCommandBytes)
        return {{},
                QStringLiteral("The line at boot would be too long for cron: its command takes %1 bytes, and cron "
                               "takes at most %2.")
                    .arg(command.size())
                    .arg(kMaxCommandBytes)};
    return {"@reboot " + command, {}};
}

std::optional<CronSchedule> parseSchedule(const QByteArray& line)
{
    static const QRegularExpression fields(QStringLiteral("^\\s*(\\d{1,2})\\s+(\\d{1,2})\\s+\\*\\s+\\*\\s+(\\S+)\\s"));
    const auto m = fields.match(QString::fromUtf8(line));
    if (!m.hasMatch())
        return std::nullopt;
    const std::optional<int> days = parseDayOfWeekField(m.captured(3));
    if (!days)
        return std::nullopt;
    const CronSchedule s{m.captured(1).toInt(), m.captured(2).toInt(), *days};
    if (s.minute > 59 || s.hour > 23)
        return std::nullopt;
    return s;
}

QString dayOfWeekField(int days)
{
    days &= kEveryWeekday;
    if (days == 0 || days == kEveryWeekday)
        return QStringLiteral("*");
    // Runs of three days or more as ranges, so that Monday to Friday reads 1-5.
    QStringList parts;
    for (int d = 1; d <= 7; ++d) {
        if ((days & weekdayBit(d)) == 0)
            continue;
        int last = d;
        while (last < 7 && (days & weekdayBit(last + 1)) != 0)
            ++last;
        if (last - d >= 2) {
            parts << QStringLiteral("%1-%2").arg(d).arg(last);
        } else {
            for (int e = d; e <= last; ++e)
                parts << QString::number(e);
        }
        d = last;
    }
    return parts.join(QLatin1Char(','));
}

std::optional<int> parseDayOfWeekField(const QString& field)
{
    if (field == QStringLiteral("*"))
        return 0;
    static const QRegularExpression part(QStringLiteral("^([0-7])(?:-([0-7]))?$"));
    int days = 0;
    for (const QString& piece : field.split(QLatin1Char(','))) {
        const auto m = part.match(piece);
        if (!m.hasMatch())
            return std::nullopt;
        const int from = m.captured(1).toInt();
        const int to = m.capturedLength(2) > 0 ? m.captured(2).toInt() : from;
        if (to < from)
            return std::nullopt;
        for (int d = from; d <= to; ++d)
            days |= weekdayBit(d == 0 ? 7 : d);
    }
    return days == kEveryWeekday ? 0 : days;
}

bool marksScheduledStart(const QByteArray& line)
{
    static const QRegularExpression mark(QStringLiteral("\\s%1=1\\s").arg(QLatin1String(kScheduledStartVariable)));
    return mark.match(QString::fromUtf8(line)).hasMatch();
}

} // namespace zb::schedule
