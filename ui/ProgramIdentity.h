#pragma once

#include <QIcon>

#include <functional>

namespace zb {

// The program's own icon, the one its desktop entry names, drawn at the
// sizes window managers and task bars ask for.
QIcon programIcon();

// Gives every window of the application the program's icon and ties the
// application to its desktop entry.
void applyProgramIdentity();

// The same in two steps, so that start-up need not wait for the drawing: ties
// the application to its desktop entry and starts drawing the icon on a
// thread of its own. The call returned gives the windows the icon, waiting
// for the drawing if it has not ended.
std::function<void()> applyProgramIdentityAhead();

} // namespace zb
