#pragma once

#include "core/ControlTexts.h"
#include "core/ProgramVersion.h"

#include <QString>

// Texts shared by several editor windows.
namespace zb::text {

inline const QString kProgramTitle = QStringLiteral("ZB-SEQUENTA");
// The version as --version prints it.
inline const QString kVersion = QStringLiteral("Version ") + programVersion();

} // namespace zb::text
