#pragma once

#include <QDateTime>
#include <QString>

namespace zb {

class ExecutableInfo;
class Files;
class Launcher;
class Settings;

// The subject of the end e-mail of a scheduled start that did not run.
QString notRunEmailSubject(const QString& baseName);

// A scheduled start that cannot run still tells the night, by the end e-mail
// when e-mail is set up (Send End Email ticked and the end script there):
// "NOT RUN" in the subject, the reason in the text. The script is started
// and left to send; true when it started.
bool sendNotRunEmail(const Settings& settings, Files& files, Launcher& launcher, const ExecutableInfo& exe,
                     const QString& reason, const QDateTime& at);

} // namespace zb
