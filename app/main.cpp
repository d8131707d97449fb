#include "app/CommandLine.h"
#include "platform/SystemServices.h"
#include "ui/Application.h"

#include <QFileInfo>

#include <cstdio>

namespace {

void print(std::FILE* stream, const QString& text)
{
    if (!text.isEmpty())
        std::fputs(text.toLocal8Bit().constData(), stream);
}

} // namespace

int main(int argc, char** argv)
{
    // The command line is read before Qt starts: --help, --version and a bad
    // option need no display, and Qt would abort without one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const zb::CommandLine line = zb::parseCommandLine(arguments);
    if (line.action == zb::CommandLine::Action::Exit) {
        print(stdout, line.output);
        print(stderr, line.error);
        return line.exitStatus;
    }
    if (!line.displayGiven) {
        if (const QString problem = zb::displayProblem(); !problem.isEmpty()) {
            const QString program = arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).fileName();
            print(stderr, zb::noDisplayText(program, problem));
            return zb::kExitCannotRun;
        }
    }
    return zb::runApplication(argc, argv);
}
