#pragma once

#include "core/ControlTexts.h"

#include <QString>

// Texts shared by several editor windows.
namespace zb::text {

inline const QString kProgramTitle = QStringLiteral("ZB-SEQUENTA");
inline const QString kVersion = QStringLiteral("Version 2.0");

} // namespace zb::text
