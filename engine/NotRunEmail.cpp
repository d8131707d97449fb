#include "NotRunEmail.h"

#include "EmailBatch.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "platform/ExecutableInfo.h"
#include "platform/Files.h"
#include "platform/Launcher.h"

namespace zb {

QString notRunEmailSubject(const QString& baseName)
{
    return QStringLiteral("ZB-SEQUENTA - %1 - NOT RUN").arg(baseName);
}

bool sendNotRunEmail(const Settings& settings, Files& files, Launcher& launcher, const ExecutableInfo& exe,
                     const QString& reason, const QDateTime& at)
{
    const QString script = emailBatchPath(exe.programFolder(), exe.baseName(), EmailBatch::End);
    if (settings.readTick(keys::END_EMAIL_TICKBOX) != 1 || !files.exists(script))
        return false;
    const QString subject = notRunEmailSubject(exe.baseName());
    const QString text = QStringLiteral("%1\n\nThe scheduled start of %2 did not run its chain: %3.\n")
                             .arg(subject, at.toString(QStringLiteral("ddd yyyy-MM-dd HH:mm")), reason);
    // Its own file: the copy that is open may be writing its end e-mail's.
    const QString message = endEmailMessagePath(exe.programFolder(), exe.baseName()) + QStringLiteral(".not-run");
    QStringList argv{QStringLiteral("/bin/sh"), script, subject};
    if (files.writePrivateFile(message, text.toUtf8()).ok)
        argv << message;
    return launcher.launchArgv(argv, WindowStyle::Hidden).started;
}

} // namespace zb
