#include "CommandLine.h"

#include <QFileInfo>

namespace zb {

namespace {

// Qt's own options, which QApplication reads and removes; with "--" they
// read the same. Some take the next word as their value, some "=value".
const QStringList kQtOptionsWithValue = {
    QStringLiteral("platform"),
    QStringLiteral("platformpluginpath"),
    QStringLiteral("platformtheme"),
    QStringLiteral("plugin"),
    QStringLiteral("qwindowgeometry"),
    QStringLiteral("qwindowicon"),
    QStringLiteral("qwindowtitle"),
    QStringLiteral("display"),
    QStringLiteral("geometry"),
    QStringLiteral("title"),
    QStringLiteral("name"),
    QStringLiteral("style"),
    QStringLiteral("stylesheet"),
    QStringLiteral("session"),
};
const QStringList kQtOptionsWithAttachedValue = {
    QStringLiteral("style"),
    QStringLiteral("stylesheet"),
    QStringLiteral("qmljsdebugger"),
};
const QStringList kQtFlags = {
    QStringLiteral("reverse"), QStringLiteral("widgetcount"), QStringLiteral("nograb"),
    QStringLiteral("dograb"),  QStringLiteral("sync"),        QStringLiteral("testability"),
};

QString helpText(const QString& program)
{
    return QStringLiteral("Usage: %1 [OPTION]...\n"
                          "Runs a chain of up to twenty tasks one after another, from a window.\n"
                          "\n"
                          "  -h, --help       show this help and exit\n"
                          "  -v, --version    show the version and exit\n"
                          "      --no-autostart  open the window without counting down to a run, even\n"
                          "                   with AutoStart Timer ticked (the setting is kept for the\n"
                          "                   scheduled start); the chain runs when you press START\n"
                          "      --last       print this copy's last pass as History shows it and exit:\n"
                          "                   0 when it completed successfully, 1 for any other result\n"
                          "                   (also while it runs), 3 when there is no pass yet;\n"
                          "                   needs no display\n"
                          "\n"
                          "Qt's own options (-platform NAME, -display NAME, -style NAME, ...) are passed on.\n"
                          "A copy or a symbolic link under another name is another copy, with settings\n"
                          "of its own. Exit status: 0 normally, 1 when the program cannot run (no display,\n"
                          "or another copy of the same name is already running), 2 for a bad option.\n"
                          "See zb-sequenta(1) for more.\n")
        .arg(program);
}

CommandLine exitWith(int status, const QString& output, const QString& error)
{
    CommandLine line;
    line.action = CommandLine::Action::Exit;
    line.exitStatus = status;
    line.output = output;
    line.error = error;
    return line;
}

CommandLine badOption(const QString& program, const QString& problem)
{
    return exitWith(kExitBadOption, QString(),
                    QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(program, problem));
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    const QString program =
        arguments.isEmpty() ? QStringLiteral("zb-sequenta") : QFileInfo(arguments.first()).fileName();
    CommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        if (word == QLatin1String("-h") || word == QLatin1String("--help"))
            return exitWith(kExitNormal, helpText(program), QString());
        if (word == QLatin1String("-v") || word == QLatin1String("--version"))
            return exitWith(kExitNormal, QStringLiteral("%1 %2\n").arg(program, programVersion()), QString());
        if (word == QLatin1String("--no-autostart")) {
            line.noAutostart = true;
            continue;
        }
        if (word == QLatin1String("--last")) {
            line.action = CommandLine::Action::Last;
            continue;
        }
        if (!word.startsWith(QLatin1Char('-')) || word.size() < 2)
            return badOption(program, QStringLiteral("unexpected argument '%1'").arg(word));

        const QString option = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        if (equals >= 0) {
            if (!kQtOptionsWithAttachedValue.contains(option.left(equals)))
                return badOption(program, QStringLiteral("unknown option '%1'").arg(word));
            continue;
        }
        if (kQtFlags.contains(option))
            continue;
        if (!kQtOptionsWithValue.contains(option))
            return badOption(program, QStringLiteral("unknown option '%1'").arg(word));
        if (++i >= arguments.size())
            return badOption(program, QStringLiteral("option '%1' needs a value").arg(word));
        if (option == QLatin1String("platform") || option == QLatin1String("display"))
            line.displayGiven = true;
    }
    return line;
}

QString noDisplayText(const QString& programName, const QString& problem)
{
    return QStringLiteral("%1: needs a display to open its window, and %2; "
                          "to run it or its tests without one, set QT_QPA_PLATFORM=offscreen\n")
        .arg(programName, problem);
}

} // namespace zb
