#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace zb {

class Crontab;
class Launcher;
class ProcessQuery;
class JournalFile;
class SingleInstance;
class CommandShell;

// The operating system's own implementations, chosen by the build: one
// folder per system, and a null one where a system has none yet.
std::unique_ptr<Launcher> createSystemLauncher();
std::unique_ptr<ProcessQuery> createSystemProcessQuery();
// The shell that runs the e-mail scripts; its profile decides how they are
// spelled.
std::unique_ptr<CommandShell> createSystemCommandShell();
std::unique_ptr<Crontab> createSystemCrontab();
// Keeps a second copy of the same name from running.
std::unique_ptr<SingleInstance> createSystemSingleInstance();

// The run journal's file of the copy called `name`, with its tasks' output,
// in this user's state folder.
std::unique_ptr<JournalFile> createSystemJournalFile(const QString& name);

// Where this user's settings file lives.
QString systemSettingsFilePath();

// Why no window can be opened in this session, or empty when one can be
// expected to open: no Qt platform, X display or Wayland display is named, or
// the local X display named does not answer. Asked before Qt is started,
// which would abort.
QString displayProblem();

// Whether standard error goes to a terminal, where someone reads it.
bool standardErrorIsTerminal();

// Makes the messages of the system's own library (why a file or a program
// could not be opened) speak the program's language, English, whatever the
// user's locale; dates, numbers and characters keep the user's locale, and so
// do the programs the chain starts. Call after the application object exists,
// which takes the locale from the environment.
void useProgramLanguageForSystemMessages();

// Asks for an orderly shut-down when the session ends, a service manager
// stops the program or Ctrl+C is pressed in its terminal. Call once, from the
// event-loop thread, after the application object exists.
void installShutdownRequestHandler(std::function<void()> onRequest);

} // namespace zb
