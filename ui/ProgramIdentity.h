#pragma once

#include <QIcon>

namespace zb {

// The program's own icon, the one its desktop entry names, drawn at the
// sizes window managers and task bars ask for.
QIcon programIcon();

// Gives every window of the application the program's icon and ties the
// application to its desktop entry.
void applyProgramIdentity();

} // namespace zb
