#include "NotRunNotice.h"

#include "SystemJournal.h"
#include "core/Settings.h"
#include "engine/NotRunEmail.h"
#include "platform/ExecutableInfo.h"
#include "platform/Launcher.h"
#include "platform/SystemServices.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/QtFiles.h"

#include <QDateTime>

namespace zb {

void tellScheduledStartNotRun(const ExecutableInfo& exe, const JournalEvent& record)
{
    createSystemJournal(exe.baseName())->record(record);
    IniSettingsStore store(systemSettingsFilePath());
    const Settings settings(store, exe);
    QtFiles files;
    const auto launcher = createSystemLauncher();
    sendNotRunEmail(settings, files, *launcher, exe, record.reason, QDateTime::currentDateTime());
}

} // namespace zb
