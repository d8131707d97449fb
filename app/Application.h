#pragma once

namespace zb {

struct StartOptions;

// Builds the program over this system's services, opens the main window and
// runs the event loop; returns the exit status. A windowless start runs on
// Qt's offscreen platform without the desk's services.
int runApplication(int argc, char** argv, const StartOptions& options);

} // namespace zb
