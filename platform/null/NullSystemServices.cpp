#include "platform/SystemServices.h"

#include "engine/RunJournal.h"
#include "platform/Launcher.h"
#include "platform/ProcessQuery.h"

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

class NullProcessQuery : public ProcessQuery {
public:
    bool isProcessRunning(const QString&) override { return false; }
};

} // namespace

std::unique_ptr<Launcher> createSystemLauncher() { return std::make_unique<NullLauncher>(); }
std::unique_ptr<ProcessQuery> createSystemProcessQuery() { return std::make_unique<NullProcessQuery>(); }

std::unique_ptr<RunJournal> createSystemJournal(const QString&) { return std::make_unique<NullRunJournal>(); }

QString systemSettingsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/ZB-SEQUENTA/ZB-SEQUENTA.ini");
}

void installShutdownRequestHandler(std::function<void()>) {}

} // namespace zb
