#include "SystemJournal.h"
#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/LastPass.h"
#include "app/NotRunNotice.h"
#include "app/ScheduledStart.h"
#include "core/Settings.h"
#include "platform/SingleInstance.h"
#include "platform/SystemServices.h"
#include "platform/qt/ArgvExecutableInfo.h"
#include "platform/qt/IniSettingsStore.h"

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
    zb::StartOptions options;
    const zb::ScheduledMark mark = zb::takeScheduledStartMark();
    options.scheduled = mark != zb::ScheduledMark::None;
    if (mark == zb::ScheduledMark::Boot) {
        // The boot line runs the chain only for a start the machine missed.
        const zb::ArgvExecutableInfo exe(arguments.value(0));
        zb::IniSettingsStore store(zb::systemSettingsFilePath());
        const auto journal = zb::createSystemJournal(exe.baseName());
        const std::optional<QString> caughtUp = zb::catchUpAtBoot(
            zb::Settings(store, exe), *journal, QDateTime::currentDateTime(), QTimeZone::systemTimeZone());
        if (!caughtUp)
            return 0;
        options.caughtUp = *caughtUp;
    }
    options.displayGiven = line.displayGiven;
    // Told without connecting to the display: Qt's connection is the first.
    options.noDisplay = zb::takeUnusableDisplayMark();
    options.noAutostart = line.noAutostart;
    if (!line.displayGiven && options.noDisplay.isEmpty())
        options.noDisplay = zb::displayProblem();
    if (!options.noDisplay.isEmpty()) {
        const zb::ArgvExecutableInfo exe(arguments.value(0));
        const QString program = QFileInfo(arguments.value(0)).fileName();
        const zb::StartPlan plan = zb::planStart(options.scheduled, options.scheduled && zb::autostartTicked(exe),
                                                 options.noDisplay, program, options.caughtUp);
        print(stderr, plan.stderrText);
        if (plan.mode == zb::StartMode::NotRun) {
            if (plan.record)
                zb::tellScheduledStartNotRun(exe, *plan.record);
            return zb::kExitCannotRun;
        }
        // Qt's offscreen platform: the same program, nothing on a screen.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        options.windowless = true;
    }
    return zb::runApplication(argc, argv, options);
}
