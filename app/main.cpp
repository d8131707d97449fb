#include "app/CommandLine.h"
#include "app/LastPass.h"
#include "engine/RunJournal.h"
#include "platform/SingleInstance.h"
#include "platform/SystemServices.h"
#include "platform/qt/ArgvExecutableInfo.h"
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
    if (line.action == zb::CommandLine::Action::Last) {
        // Read from the journal alone: no display, no settings, no claim on the name.
        const zb::ArgvExecutableInfo exe(QString::fromLocal8Bit(argv[0]));
        const auto journal = zb::createSystemJournal(exe.baseName());
        const auto instance = zb::createSystemSingleInstance();
        const zb::LastPassCheck check = zb::lastPassCheck(*journal, instance->runs(exe.baseName()));
        print(stdout, check.output);
        return check.exitStatus;
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
