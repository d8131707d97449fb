#pragma once

namespace zb {

class ExecutableInfo;
struct StartOptions;

// Whether the copy's stored AutoStart Timer is ticked.
bool autostartTicked(const ExecutableInfo& exe);

// Builds the program over this system's services, opens the main window and
// runs the event loop; returns the exit status. A windowless start runs on
// Qt's offscreen platform without the desk's services.
int runApplication(int argc, char** argv, const StartOptions& options);

} // namespace zb
