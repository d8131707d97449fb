#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace zb {

class Crontab;
class Launcher;
class ProcessQuery;
class CommandShell;

// The operating system's own implementations, chosen by the build: one
// folder per system, and a null one where a system has none yet.
std::unique_ptr<Launcher> createSystemLauncher();
std::unique_ptr<ProcessQuery> createSystemProcessQuery();
// The shell that runs the e-mail scripts; its profile decides how they are
// spelled.
std::unique_ptr<CommandShell> createSystemCommandShell();
std::unique_ptr<Crontab> createSystemCrontab();

// Where this user's settings file lives.
QString systemSettingsFilePath();

// Why no window can be opened in this session, or empty when one can be
// expected to open: no Qt platform, X display or Wayland display is named, or
// the local X display named does not answer. Asked before Qt is started,
// which would abort.
QString displayProblem();

// Asks for an orderly shut-down when the session ends, a service manager
// stops the program or Ctrl+C is pressed in its terminal. Call once, from the
// event-loop thread, after the application object exists.
void installShutdownRequestHandler(std::function<void()> onRequest);

} // namespace zb
