#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace zb {

class Launcher;
class ProcessQuery;

// The operating system's own implementations, chosen by the build: one
// folder per system, and a null one where a system has none yet.
std::unique_ptr<Launcher> createSystemLauncher();
std::unique_ptr<ProcessQuery> createSystemProcessQuery();

// Where this user's settings file lives.
QString systemSettingsFilePath();

// Whether the session names a window system to open windows on (a Qt
// platform, an X display or a Wayland display). Asked before Qt is started,
// which would abort without one.
bool displayConfigured();

// Asks for an orderly shut-down when the session ends, a service manager
// stops the program or Ctrl+C is pressed in its terminal. Call once, from the
// event-loop thread, after the application object exists.
void installShutdownRequestHandler(std::function<void()> onRequest);

} // namespace zb
