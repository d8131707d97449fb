#pragma once

#include "core/Colour.h"
#include "platform/Keyboard.h"

#include <QString>

namespace zb {

// A lock light whose state cannot be read.
inline constexpr Colour kUnknownLockColour = 0xC0C0C0;

// "NUM LOCK = ON", "CAPS LOCK = OFF", "SCROLL LOCK = UNKNOWN".
QString lockLightToolTip(LockKey key, LockState state);

// What keeps the session awake, for the heartbeat countdown's tooltip.
QString keepAwakeToolTip(bool running, bool keyPresses, bool inhibited);

// The reason the desktop may show for the screensaver inhibition.
QString inhibitionReason();

} // namespace zb
