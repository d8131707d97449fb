#pragma once

namespace zb {

// Builds the program over this system's services, opens the main window and
// runs the event loop; returns the exit status.
int runApplication(int argc, char** argv);

} // namespace zb
