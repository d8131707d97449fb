#include "platform/SystemServices.h"

#include "NullCrontab.h"
#include "platform/CommandShell.h"
#include "platform/JournalFile.h"
#include "platform/Launcher.h"
#include "platform/ProcessQuery.h"
#include "platform/SingleInstance.h"

#include <QStandardPaths>

namespace zb {

namespace {

class NullLauncher : public Launcher {
public:
    LaunchResult launch(const QString&, WindowStyle) override { return unsupported(); }
    LaunchResult launchArgv(const QStringList&, WindowStyle) override { return unsupported(); }

private:
    static LaunchResult unsupported()
    {
        return {false, QStringLiteral("starting programs is not supported on this system")};
    }
};

// No process list to read: every wait ends at once and says why.
class NullProcessQuery : public ProcessQuery {
public:
    ProcessPresence isProcessRunning(const QString&) override { return ProcessPresence::Unknown; }
};

// Every copy runs.
class NullSingleInstance : public SingleInstance {
public:
    bool claim(const QString&) override { return true; }
    qint64 runningPid() const override { return 0; }
    bool askRunningToActivate() override { return false; }
    void onActivationRequest(std::function<void()>) override {}
};

// Spells the scripts for the Windows command interpreter but runs nothing.
class NullCommandShell : public CommandShell {
public:
    CommandProfile profile() const override { return CommandProfile::WindowsBatch; }
    void run(const QString&, int, std::function<void(const CommandOutcome&)> done) override
    {
        CommandOutcome outcome;
        outcome.error = QStringLiteral("running commands is not supported on this system");
        done(outcome);
    }
};

} // namespace

std::unique_ptr<SingleInstance> createSystemSingleInstance() { return std::make_unique<NullSingleInstance>(); }

std::unique_ptr<Launcher> createSystemLauncher() { return std::make_unique<NullLauncher>(); }
std::unique_ptr<ProcessQuery> createSystemProcessQuery() { return std::make_unique<NullProcessQuery>(); }
std::unique_ptr<CommandShell> createSystemCommandShell() { return std::make_unique<NullCommandShell>(); }
std::unique_ptr<Crontab> createSystemCrontab() { return std::make_unique<NullCrontab>(); }

std::unique_ptr<JournalFile> createSystemJournalFile(const QString&) { return std::make_unique<NullJournalFile>(); }

QString systemSettingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/ZB-SEQUENTA/ZB-SEQUENTA.ini");
}

// Qt knows best where it can open windows here.
QString displayProblem() { return {}; }

bool standardErrorIsTerminal() { return false; }

void useProgramLanguageForSystemMessages() {}

void installShutdownRequestHandler(std::function<void()>) {}

} // namespace zb
