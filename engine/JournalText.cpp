#include "JournalText.h"

#include "core/SlotArray.h"

#include <array>
#include <utility>

namespace zb {

namespace {

using Kind = JournalEvent::Kind;

constexpr std::array<std::pair<Kind, const char*>, 23> kKindNames{{
    {Kind::PassStarted, "pass-started"},
    {Kind::PassStopped, "pass-stopped"},
    {Kind::TaskSkipped, "task-skipped"},
    {Kind::TaskStarted, "task-started"},
    {Kind::TaskFailed, "task-failed-to-start"},
    {Kind::WaitBegan, "wait-began"},
    {Kind::WaitEnded, "wait-ended"},
    {Kind::WaitStopped, "wait-stopped"},
    {Kind::EmailStarted, "email-started"},
    {Kind::EmailMissing, "email-missing"},
    {Kind::EmailFailed, "email-failed-to-start"},
    {Kind::ChainEnded, "chain-ended"},
    {Kind::Autoclosed, "autoclosed"},
    {Kind::TaskExited, "task-ended"},
    {Kind::TaskStillRunning, "task-still-running-at-close"},
    {Kind::ScheduledStart, "scheduled-start"},
    {Kind::ScheduledStartNotRun, "scheduled-start-not-run"},
    {Kind::EmailEnded, "email-ended"},
    {Kind::EmailStillRunning, "email-still-running-at-exit"},
    {Kind::PassInterrupted, "pass-interrupted"},
    {Kind::PassEndFound, "pass-end-found"},
    {Kind::TaskTimedOut, "task-timed-out"},
    {Kind::TaskSignalled, "task-signalled"},
}};

QLatin1StringView kindName(Kind kind)
{
    for (const auto& [k, name] : kKindNames)
        if (k == kind)
            return QLatin1StringView(name);
    return QLatin1StringView("unknown");
}

bool needsQuotes(QStringView value)
{
    if (value.isEmpty())
        return true;
    for (QChar c : value)
        if (c.unicode() <= u' ' || c == u'"' || c == u'\\' || c == u'=')
            return true;
    return false;
}

void appendValue(QString& out, QStringView value)
{
    if (!needsQuotes(value)) {
        out += value;
        return;
    }
    out += u'"';
    for (QChar c : value) {
        switch (c.unicode()) {
        case u'"':
            out += QLatin1StringView("\\\"");
            break;
        case u'\\':
            out += QLatin1StringView("\\\\");
            break;
        case u'\n':
            out += QLatin1StringView("\\n");
            break;
        case u'\r':
            out += QLatin1StringView("\\r");
            break;
        case u'\t':
            out += QLatin1StringView("\\t");
            break;
        default:
            out += c;
        }
    }
    out += u'"';
}

void field(QString& out, const char* key, QStringView value)
{
    out += u' ';
    out += QLatin1StringView(key);
    out += u'=';
    appendValue(out, value);
}

void field(QString& out, const char* key, qint64 value) { field(out, key, QString::number(value)); }

// How a process that was waited for ended: its id, its signal or exit
// status, and how long it ran.
void processEnd(QString& out, const JournalEvent& e)
{
    field(out, "pid", e.pid);
    if (e.signal != 0)
        field(out, "signal", e.signal);
    else
        field(out, "status", e.exitCode);
    field(out, "ran-ms", e.runMs);
}

QString startWord(PassStart start)
{
    switch (start) {
    case PassStart::Autostart:
        return QStringLiteral("autostart");
    case PassStart::Schedule:
        return QStringLiteral("schedule");
    case PassStart::ByHand:
        break;
    }
    return QStringLiteral("hand");
}

QString emailWord(EmailBatch kind)
{
    return kind == EmailBatch::Start ? QStringLiteral("start") : QStringLiteral("end");
}

// Reads one key=value pair from the front of `rest`; false when malformed.
bool takeField(QStringView& rest, QString& key, QString& value)
{
    while (rest.startsWith(u' '))
        rest = rest.mid(1);
    const qsizetype eq = rest.indexOf(u'=');
    if (eq <= 0)
        return false;
    key = rest.left(eq).toString();
    if (key.contains(u' '))
        return false;
    rest = rest.mid(eq + 1);
    value.clear();
    if (!rest.startsWith(u'"')) {
        const qsizetype end = rest.indexOf(u' ');
        value = (end < 0 ? rest : rest.left(end)).toString();
        rest = end < 0 ? QStringView() : rest.mid(end);
        return true;
    }
    for (qsizetype i = 1; i < rest.size(); ++i) {
        const QChar c = rest[i];
        if (c == u'"') {
            rest = rest.mid(i + 1);
            return true;
        }
        if (c != u'\\') {
            value += c;
            continue;
        }
        if (++i >= rest.size())
            return false;
        switch (rest[i].unicode()) {
        case u'n':
            value += u'\n';
            break;
        case u'r':
            value += u'\r';
            break;
        case u't':
            value += u'\t';
            break;
        default:
            value += rest[i];
        }
    }
    return false; // no closing quote
}

bool toNumber(const QString& text, qint64& out)
{
    bool ok = false;
    out = text.toLongLong(&ok);
    return ok;
}

} // namespace

QString isoTimeWithOffset(const QDateTime& when)
{
    if (when.timeSpec() != Qt::LocalTime)
        return when.toString(Qt::ISODate);
    return when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODate);
}

QLatin1StringView journalEventWord(JournalEvent::Kind kind) { return kindName(kind); }

QString journalLine(const QDateTime& when, const JournalEvent& e, const QString& pass)
{
    QString out = isoTimeWithOffset(when);
    out.reserve(out.size() + 64 + e.command.size() + e.file.size() + e.reason.size());
    out += u' ';
    out += kindName(e.kind);
    switch (e.kind) {
    case Kind::PassStarted:
        field(out, "by", startWord(e.start));
        if (e.windowless)
            field(out, "window", QStringLiteral("no"));
        if (!e.reason.isEmpty())
            field(out, "note", e.reason);
        break;
    case Kind::ScheduledStart:
        field(out, "window", e.windowless ? QStringLiteral("no") : QStringLiteral("yes"));
        if (!e.reason.isEmpty())
            field(out, e.windowless ? "reason" : "note", e.reason);
        break;
    case Kind::ScheduledStartNotRun:
        field(out, "reason", e.reason);
        break;
    case Kind::PassStopped:
    case Kind::ChainEnded:
        break;
    case Kind::TaskSkipped:
        field(out, "task", e.slot);
        if (!e.reason.isEmpty())
            field(out, "reason", e.reason);
        break;
    case Kind::TaskTimedOut:
        field(out, "task", e.slot);
        field(out, "seconds", e.seconds);
        break;
    case Kind::TaskSignalled:
        field(out, "task", e.slot);
        field(out, "pid", e.pid);
        field(out, "signal", e.signal);
        if (!e.reason.isEmpty())
            field(out, "reason", e.reason);
        break;
    case Kind::TaskStarted:
        field(out, "task", e.slot);
        field(out, "pid", e.pid);
        field(out, "command", e.command);
        if (!e.name.isEmpty())
            field(out, "slot-name", e.name);
        if (!e.file.isEmpty())
            field(out, "output", e.file);
        else if (!e.reason.isEmpty())
            field(out, "output-not-kept", e.reason);
        break;
    case Kind::TaskFailed:
        field(out, "task", e.slot);
        field(out, "command", e.command);
        if (!e.name.isEmpty())
            field(out, "slot-name", e.name);
        field(out, "reason", e.reason);
        break;
    case Kind::WaitBegan:
        field(out, "task", e.slot);
        field(out, "name", e.name);
        break;
    case Kind::WaitEnded:
    case Kind::WaitStopped:
        field(out, "task", e.slot);
        field(out, "seconds", e.seconds);
        break;
    case Kind::EmailStarted:
        field(out, "email", emailWord(e.email));
        field(out, "pid", e.pid);
        field(out, "script", e.file);
        break;
    case Kind::EmailMissing:
        field(out, "email", emailWord(e.email));
        field(out, "script", e.file);
        break;
    case Kind::EmailFailed:
        field(out, "email", emailWord(e.email));
        field(out, "script", e.file);
        field(out, "reason", e.reason);
        break;
    case Kind::Autoclosed:
        field(out, "last-run", e.reason);
        break;
    case Kind::TaskExited:
        field(out, "task", e.slot);
        processEnd(out, e);
        break;
    case Kind::TaskStillRunning:
        field(out, "task", e.slot);
        field(out, "pid", e.pid);
        break;
    case Kind::EmailEnded:
        field(out, "email", emailWord(e.email));
        processEnd(out, e);
        break;
    case Kind::EmailStillRunning:
        field(out, "email", emailWord(e.email));
        field(out, "pid", e.pid);
        break;
    case Kind::PassInterrupted:
        field(out, "task", e.slot);
        field(out, "how", e.reason);
        break;
    case Kind::PassEndFound:
        field(out, "last-run", e.reason);
        break;
    }
    if (!pass.isEmpty())
        field(out, "pass", pass);
    return out;
}

namespace {

// Values no event of this program can carry: hand edits or a broken line.
bool inRange(const JournalEvent& e)
{
    const bool hasSlot = e.kind != Kind::PassStarted && e.kind != Kind::PassStopped && e.kind != Kind::ChainEnded &&
                         e.kind != Kind::Autoclosed && e.kind != Kind::EmailStarted && e.kind != Kind::EmailMissing &&
                         e.kind != Kind::EmailFailed && e.kind != Kind::ScheduledStart &&
                         e.kind != Kind::PassEndFound && e.kind != Kind::ScheduledStartNotRun &&
                         e.kind != Kind::EmailEnded && e.kind != Kind::EmailStillRunning;
    if (hasSlot && (e.slot < 1 || e.slot > kSlotCount))
        return false;
    return e.pid >= 0 && e.seconds >= 0 && e.runMs >= 0 && e.exitCode >= 0 && e.exitCode <= 255 && e.signal >= 0 &&
           e.signal <= 128;
}

std::optional<JournalEntry> parseWholeLine(QStringView line);

} // namespace

std::optional<JournalEntry> parseJournalLine(QStringView line)
{
    while (line.endsWith(u'\n') || line.endsWith(u'\r'))
        line.chop(1);
    if (std::optional<JournalEntry> whole = parseWholeLine(line))
        return whole;
    // A line cut short by a full disk or a kill, with the next line joined
    // to it by an earlier version: the joined line is read from its stamp.
    for (qsizetype at = line.lastIndexOf(u'T'); at > 10; at = line.lastIndexOf(u'T', at - 1)) {
        const qsizetype start = at - 10;
        if (line[start].isDigit() && line[start + 4] == u'-' && line[start + 7] == u'-')
            if (std::optional<JournalEntry> joined = parseWholeLine(line.sliced(start)))
                return joined;
    }
    return std::nullopt;
}

namespace {

std::optional<JournalEntry> parseWholeLine(QStringView line)
{
    while (line.endsWith(u'\n') || line.endsWith(u'\r'))
        line.chop(1);
    const qsizetype timeEnd = line.indexOf(u' ');
    if (timeEnd <= 0)
        return std::nullopt;
    JournalEntry entry;
    entry.when = QDateTime::fromString(line.left(timeEnd).toString(), Qt::ISODate);
    if (!entry.when.isValid())
        return std::nullopt;
    QStringView rest = line.mid(timeEnd + 1);
    const qsizetype nameEnd = rest.indexOf(u' ');
    const QStringView name = nameEnd < 0 ? rest : rest.left(nameEnd);
    bool known = false;
    for (const auto& [k, kindText] : kKindNames) {
        if (name == QLatin1StringView(kindText)) {
            entry.event.kind = k;
            known = true;
        }
    }
    if (!known)
        return std::nullopt;
    rest = nameEnd < 0 ? QStringView() : rest.mid(nameEnd);

    JournalEvent& e = entry.event;
    QString key;
    QString value;
    while (!rest.trimmed().isEmpty()) {
        if (!takeField(rest, key, value))
            return std::nullopt;
        qint64 number = 0;
        const bool numeric = toNumber(value, number);
        if (key == u"by")
            e.start = value == u"autostart"  ? PassStart::Autostart
                      : value == u"schedule" ? PassStart::Schedule
                                             : PassStart::ByHand;
        else if (key == u"window")
            e.windowless = value == u"no";
        else if (key == u"email")
            e.email = value == u"end" ? EmailBatch::End : EmailBatch::Start;
        else if (key == u"task" && numeric)
            e.slot = static_cast<int>(number);
        else if (key == u"pid" && numeric)
            e.pid = number;
        else if (key == u"status" && numeric)
            e.exitCode = static_cast<int>(number);
        else if (key == u"signal" && numeric)
            e.signal = static_cast<int>(number);
        else if (key == u"seconds" && numeric)
            e.seconds = number;
        else if (key == u"ran-ms" && numeric)
            e.runMs = number;
        else if (key == u"command")
            e.command = value;
        else if (key == u"name" || key == u"slot-name")
            e.name = value;
        else if (key == u"reason" || key == u"last-run" || key == u"how" || key == u"output-not-kept" || key == u"note")
            e.reason = value;
        else if (key == u"output" || key == u"script")
            e.file = value;
        else if (key == u"pass")
            entry.pass = value;
        else if (key == u"task" || key == u"pid" || key == u"status" || key == u"signal" || key == u"seconds" ||
                 key == u"ran-ms")
            return std::nullopt; // a number that is none
        // Unknown keys are skipped: a later version may add some.
    }
    if (!inRange(e))
        return std::nullopt;
    return entry;
}

} // namespace

} // namespace zb
