#include "IniDocument.h"

#include <QStringDecoder>

namespace zb {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Only blanks and tabs: a value may well end in another kind of space.
QStringView trimBlanks(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && isBlank(s[begin]))
        ++begin;
    while (end > begin && isBlank(s[end - 1]))
        --end;
    return s.sliced(begin, end - begin);
}

bool hasControlCharacter(QStringView s, bool allowTab)
{
    for (QChar c : s)
        if ((c.unicode() < 0x20 && !(allowTab && c == QLatin1Char('\t'))) || c.unicode() == 0x7F)
            return true;
    return false;
}

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// Undoes the escapes the earlier version's INI writer used. Fails on a bare
// double quote, a lone trailing backslash or an escape it never wrote.
bool unescape(QStringView text, QString* out)
{
    out->clear();
    out->reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"'))
            return false;
        if (c != QLatin1Char('\\')) {
            out->append(c);
            continue;
        }
        if (++i == text.size())
            return false;
        const char e = text[i].toLatin1();
        switch (e) {
        case '"':
        case '\\':
        case '\'':
        case '?':
            out->append(QLatin1Char(e));
            break;
        case 'a':
            out->append(QLatin1Char('\a'));
            break;
        case 'b':
            out->append(QLatin1Char('\b'));
            break;
        case 'f':
            out->append(QLatin1Char('\f'));
            break;
        case 'n':
            out->append(QLatin1Char('\n'));
            break;
        case 'r':
            out->append(QLatin1Char('\r'));
            break;
        case 't':
            out->append(QLatin1Char('\t'));
            break;
        case 'v':
            out->append(QLatin1Char('\v'));
            break;
        case 'x': {
            uint code = 0;
            qsizetype digits = 0;
            while (i + 1 < text.size() && isHexDigit(text[i + 1]) && digits < 4) {
                code = code * 16 + QStringView(text.sliced(++i, 1)).toUInt(nullptr, 16);
                ++digits;
            }
            if (digits == 0)
                return false;
            out->append(QChar(static_cast<char16_t>(code)));
            break;
        }
        default:
            if (e < '0' || e > '7')
                return false;
            uint code = static_cast<uint>(e - '0');
            for (int digits = 1; digits < 3 && i + 1 < text.size() && text[i + 1] >= QLatin1Char('0') &&
                                 text[i + 1] <= QLatin1Char('7');
                 ++digits)
                code = code * 8 + static_cast<uint>(text[++i].toLatin1() - '0');
            out->append(QChar(static_cast<char16_t>(code)));
        }
    }
    return true;
}

// How the earlier version spelled a section name in the file.
QString legacySectionName(const QString& name)
{
    static const char hex[] = "0123456789ABCDEF";
    QString out;
    for (QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u'/' || u == u'\\')
            out.append(QLatin1Char('_'));
        else if ((u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'_' ||
                 u == u'-' || u == u'.')
            out.append(c);
        else if (u <= 0xFF)
            out.append(QLatin1Char('%')).append(QLatin1Char(hex[u / 16])).append(QLatin1Char(hex[u % 16]));
        else
            out.append(QLatin1String("%U"))
                .append(QLatin1Char(hex[(u >> 12) & 15]))
                .append(QLatin1Char(hex[(u >> 8) & 15]))
                .append(QLatin1Char(hex[(u >> 4) & 15]))
                .append(QLatin1Char(hex[u & 15]));
    }
    return out;
}

// "[name]" or "[name] ; comment": the name, or nothing for a line that is
// no clean header.
std::optional<QString> headerName(QStringView t)
{
    if (!t.startsWith(QLatin1Char('[')))
        return std::nullopt;
    if (const qsizetype close = t.indexOf(QLatin1Char(']')); close > 0) {
        const QStringView after = trimBlanks(t.sliced(close + 1));
        if (after.startsWith(QLatin1Char(';')) || after.startsWith(QLatin1Char('#')))
            return trimBlanks(t.sliced(1, close - 1)).toString();
    }
    if (t.size() >= 2 && t.endsWith(QLatin1Char(']')))
        return trimBlanks(t.sliced(1, t.size() - 2)).toString();
    return std::nullopt;
}

bool isBlankOrComment(const QByteArray& raw)
{
    const QByteArray t = raw.trimmed();
    return t.isEmpty() || t.startsWith('#') || t.startsWith(';');
}

} // namespace

QString IniDocument::decodeValue(const QString& raw)
{
    QString out;
    if (raw.size() >= 2 && raw.startsWith(QLatin1Char('"')) && raw.endsWith(QLatin1Char('"')) &&
        unescape(QStringView(raw).sliced(1, raw.size() - 2), &out))
        return out;
    // The earlier version also wrote \" and \\ without the enclosing quotes.
    if ((raw.contains(QLatin1String("\\\"")) || raw.contains(QLatin1String("\\\\"))) && unescape(raw, &out))
        return out;
    return raw;
}

QString IniDocument::encodeValue(const QString& value)
{
    const bool plain = !hasControlCharacter(value, true) && trimBlanks(value).size() == value.size();
    if (plain && decodeValue(value) == value)
        return value;
    QString out = QStringLiteral("\"");
    bool escapeNextIfHex = false;
    for (QChar c : value) {
        if (escapeNextIfHex && isHexDigit(c)) {
            out.append(QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')));
            continue;
        }
        escapeNextIfHex = false;
        switch (c.unicode()) {
        case u'"':
            out.append(QLatin1String("\\\""));
            break;
        case u'\\':
            out.append(QLatin1String("\\\\"));
            break;
        case u'\n':
            out.append(QLatin1String("\\n"));
            break;
        case u'\r':
            out.append(QLatin1String("\\r"));
            break;
        case u'\t':
            out.append(QLatin1String("\\t"));
            break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7F) {
                out.append(QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0')));
                escapeNextIfHex = true;
            } else {
                out.append(c);
            }
        }
    }
    return out.append(QLatin1Char('"'));
}

IniDocument IniDocument::parse(const QByteArray& bytes)
{
    IniDocument doc;
    QByteArrayView rest(bytes);
    if (rest.startsWith(QByteArrayView(kByteOrderMark))) {
        doc.hadByteOrderMark_ = true;
        rest = rest.sliced(3);
    }
    if (rest.contains('\0')) {
        doc.unreadable_ = true;
        return doc;
    }
    // Checked once for the file, and line by line only when it fails.
    QStringDecoder wholeFile(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)wholeFile(rest).operator QString();
    const bool wholeFileIsUtf8 = !wholeFile.hasError();
    int number = 0;
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView line = end < 0 ? rest : rest.first(end);
        doc.addLine(line.toByteArray(), ++number, wholeFileIsUtf8);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
    }
    bool understoodAny = !doc.sections_.isEmpty();
    for (const Line& l : doc.preamble_)
        understoodAny = understoodAny || isBlankOrComment(l.raw);
    doc.unreadable_ = !understoodAny && !doc.linesNotUnderstood_.isEmpty();
    return doc;
}

void IniDocument::addLine(QByteArray raw, int number, bool knownUtf8)
{
    QList<Line>& into = sections_.isEmpty() ? preamble_ : sections_.last().body;
    QByteArrayView content(raw);
    if (content.endsWith('\r'))
        content.chop(1);
    bool utf8 = true;
    QString text;
    if (knownUtf8) {
        text = QString::fromUtf8(content);
    } else {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = decoder(content);
        utf8 = !decoder.hasError();
    }
    const QStringView t = trimBlanks(text);
    const bool understood = utf8 && !hasControlCharacter(text, true);

    if (understood && (t.isEmpty() || t.startsWith(QLatin1Char('#')) || t.startsWith(QLatin1Char(';')))) {
        into.append({std::move(raw), {}});
        return;
    }
    if (understood && t.startsWith(QLatin1Char('['))) {
        Section s;
        const std::optional<QString> name = headerName(t);
        s.header = std::move(raw);
        s.broken = !name.has_value();
        if (s.broken) {
            linesNotUnderstood_.append(number);
            whyNotUnderstood_.insert(number, QStringLiteral("not a clean section header; the keys below it are "
                                                            "not read until the next header"));
        } else {
            s.name = *name;
            sectionIndex_[s.name].append(sections_.size());
        }
        sections_.append(std::move(s));
        return;
    }
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    const QString key = eq > 0 ? trimBlanks(t.first(eq)).toString() : QString();
    // A key needs a section; a key line before the first one is kept unread.
    if (!understood || key.isEmpty() || sections_.isEmpty() || key.startsWith(QLatin1Char('['))) {
        linesNotUnderstood_.append(number);
        into.append({std::move(raw), {}});
        return;
    }
    Section& s = sections_.last();
    if (s.broken) {
        linesNotUnderstood_.append(number);
        whyNotUnderstood_.insert(number, QStringLiteral("key %1 is below a header that is not understood").arg(key));
        s.body.append({std::move(raw), {}});
        return;
    }
    // Only an escape can make a NUL, and no setting may hold one: a value
    // cut at it would be used one way here and another way elsewhere.
    if (t.sliced(eq + 1).contains(QLatin1Char('\\')) &&
        decodeValue(trimBlanks(t.sliced(eq + 1)).toString()).contains(QChar(0))) {
        linesNotUnderstood_.append(number);
        whyNotUnderstood_.insert(number, QStringLiteral("the value of key %1 holds a NUL character").arg(key));
        s.body.append({std::move(raw), {}});
        return;
    }
    s.keys.insert(key, s.body.size());
    s.body.append({std::move(raw), key});
}

QString IniDocument::whyNotUnderstood(int line) const { return whyNotUnderstood_.value(line); }

QList<qsizetype> IniDocument::sectionsNamed(const QString& name) const
{
    auto it = sectionIndex_.constFind(name);
    if (it == sectionIndex_.constEnd())
        it = sectionIndex_.constFind(legacySectionName(name));
    return it == sectionIndex_.constEnd() ? QList<qsizetype>() : it.value();
}

qsizetype IniDocument::findKey(const QString& section, const QString& key, qsizetype* line) const
{
    // A section written twice reads as one; the last line of a key wins.
    const QList<qsizetype> found = sectionsNamed(section);
    for (auto it = found.crbegin(); it != found.crend(); ++it) {
        const Section& s = sections_[*it];
        if (const auto k = s.keys.constFind(key); k != s.keys.constEnd()) {
            *line = k.value();
            return *it;
        }
    }
    return -1;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const
{
    qsizetype line = 0;
    const qsizetype s = findKey(section, key, &line);
    if (s < 0)
        return std::nullopt;
    const QByteArrayView raw(sections_[s].body[line].raw);
    const QString text = QString::fromUtf8(raw.endsWith('\r') ? raw.chopped(1) : raw);
    return decodeValue(trimBlanks(QStringView(text).sliced(text.indexOf(QLatin1Char('=')) + 1)).toString());
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value)
{
    const QByteArray raw = (key + QLatin1Char('=') + encodeValue(value)).toUtf8();
    qsizetype line = 0;
    if (const qsizetype s = findKey(section, key, &line); s >= 0) {
        sections_[s].body[line].raw = raw;
        return;
    }
    QList<qsizetype> found = sectionsNamed(section);
    if (found.isEmpty()) {
        QList<Line>& last = sections_.isEmpty() ? preamble_ : sections_.last().body;
        if ((!last.isEmpty() && !last.last().raw.trimmed().isEmpty()) || (last.isEmpty() && !sections_.isEmpty()))
            last.append(Line{});
        // A name that would not read back as written is stored the earlier way.
        const bool plain = !hasControlCharacter(section, false) && trimBlanks(section).size() == section.size();
        Section s;
        s.name = plain ? section : legacySectionName(section);
        s.header = (QLatin1Char('[') + s.name + QLatin1Char(']')).toUtf8();
        sectionIndex_[s.name].append(sections_.size());
        sections_.append(std::move(s));
        found = {sections_.size() - 1};
    }
    // A new key goes after the last key of its section; in a section without
    // keys, after its last line that is not blank or a comment.
    Section& s = sections_[found.last()];
    qsizetype at = s.body.size();
    while (at > 0 && s.body[at - 1].key.isEmpty())
        --at;
    if (at == 0) {
        at = s.body.size();
        while (at > 0 && isBlankOrComment(s.body[at - 1].raw))
            --at;
    }
    s.body.insert(at, {raw, key});
    s.keys.insert(key, at); // only lines without keys come after it
}

int IniDocument::keyCount() const
{
    int n = 0;
    for (const Section& s : sections_)
        n += static_cast<int>(s.keys.size());
    return n;
}

QByteArray IniDocument::serialize() const
{
    QByteArray out;
    if (hadByteOrderMark_)
        out.append(kByteOrderMark);
    for (const Line& l : preamble_)
        out.append(l.raw).append('\n');
    for (const Section& s : sections_) {
        out.append(s.header).append('\n');
        for (const Line& l : s.body)
            out.append(l.raw).append('\n');
    }
    return out;
}

} // namespace zb
