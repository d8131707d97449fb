#pragma once

#include <QByteArray>
#include <QFile>
#include <QStringList>

// Folder names that sh or cron would take apart unless every byte of the
// crontab line is escaped, and a probe that tells what reached it.
namespace zb::test {

inline QStringList hostileFolderNames()
{
    return {
        QStringLiteral("two\\\\backslashes"), QStringLiteral("escaped\\%percent"),
        QStringLiteral("100% done"),          QStringLiteral("it's"),
        QStringLiteral("say \"hi\""),         QStringLiteral("$(touch pwned)`id`"),
        QStringLiteral("  blanks  around  "), QStringLiteral("trailing\\"),
        QStringLiteral("# not; a & comment"), QStringLiteral("tab\there ~*?[x]"),
        QStringLiteral("ünï cødé €"),         QStringLiteral("\\'\\\\%'\"\\"),
    };
}

// The probe: writes the path it was started as, and the values of
// ZB_PROBE_VALUE and ZB_SEQUENTA_SCHEDULED, to the file ZB_PROBE_OUT.
inline bool writeProbe(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write("#!/bin/sh\nprintf '%s\\n%s\\n%s\\n' \"$0\" \"$ZB_PROBE_VALUE\" \"$ZB_SEQUENTA_SCHEDULED\" "
            "> \"$ZB_PROBE_OUT\"\n");
    f.close();
    return f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The command of a crontab line: everything after its five time fields.
inline QByteArray cronCommand(const QByteArray& line)
{
    qsizetype at = 0;
    for (int field = 0; field < 5; ++field) {
        while (at < line.size() && line.at(at) == ' ')
            ++at;
        while (at < line.size() && line.at(at) != ' ')
            ++at;
    }
    while (at < line.size() && line.at(at) == ' ')
        ++at;
    return line.mid(at);
}

} // namespace zb::test
