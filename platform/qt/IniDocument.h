#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

namespace zb {

// An INI file as a person wrote it: every line is kept as it stood, and only
// the lines of keys that are set again are rewritten. A header may carry a
// trailing ';' or '#' comment; a '[' line that is no clean header starts a
// stretch whose keys are kept but never read, so that they are not taken
// for keys of the section above. A value is everything
// after the first '=' of its line, less the blanks around it; a value that
// is a whole double-quoted string with its inner quotes escaped as \" (the
// form the program writes for values that would not read back otherwise) is
// unescaped.
class IniDocument {
public:
    static IniDocument parse(const QByteArray& bytes);

    // Nothing in the file could be read as settings: bytes that are not text,
    // or not one line understood. Such a file is never written over.
    bool unreadable() const { return unreadable_; }
    // The 1-based numbers of the lines that are kept as they stand unread.
    const QList<int>& linesNotUnderstood() const { return linesNotUnderstood_; }
    // Why such a line is not read, naming its key where it has one and never
    // its value: a person may have written a password there.
    QString whyNotUnderstood(int line) const;

    std::optional<QString> value(const QString& section, const QString& key) const;
    void setValue(const QString& section, const QString& key, const QString& value);
    QByteArray serialize() const;
    int keyCount() const;

    // The value codec, on the text after the '=' with its blanks removed.
    static QString decodeValue(const QString& raw);
    static QString encodeValue(const QString& value);

private:
    struct Line {
        QByteArray raw; // without its line break
        QString key;    // empty when the line is no key line
    };
    struct Section {
        QString name;
        QByteArray header;
        QList<Line> body;
        QHash<QString, qsizetype> keys; // key -> its last line in body
        // A '[' line that is no clean header: its lines are kept, never read.
        bool broken = false;
    };

    void addLine(QByteArray raw, int number, bool knownUtf8);
    // The index of the section holding the key, or -1.
    qsizetype findKey(const QString& section, const QString& key, qsizetype* line) const;
    QList<qsizetype> sectionsNamed(const QString& name) const;

    bool hadByteOrderMark_ = false;
    bool unreadable_ = false;
    QList<Line> preamble_;
    QList<Section> sections_;
    QHash<QString, QList<qsizetype>> sectionIndex_;
    QList<int> linesNotUnderstood_;
    QHash<int, QString> whyNotUnderstood_;
};

} // namespace zb
