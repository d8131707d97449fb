#pragma once

#include <QString>

namespace zb {

// The program's version ("2.0"), as --version prints it and the about
// window shows it; set by the build from the project's version.
QString programVersion();

} // namespace zb
