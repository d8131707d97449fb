#pragma once

#include "core/Colour.h"
#include "platform/Keyboard.h"
#include "platform/ScreenSaverInhibitor.h"

#include <QString>

namespace zb {

// A lock light whose state cannot be read.
inline constexpr Colour kUnknownLockColour = 0xC0C0C0;

// "NUM LOCK = ON", "CAPS LOCK = OFF", "SCROLL LOCK = UNKNOWN", followed on
// lines of their own by why the state cannot be read or may not be the
// keyboard's own, and why a double-click cannot press the key, where they
// are given.
QString lockLightToolTip(LockKey key, LockState state, const QString& readProblem = QString(),
                         const QString& pressProblem = QString(), const QString& readCaveat = QString());

// What keeps the session awake, for the heartbeat countdown's tooltip:
// whether the heartbeat runs, why key presses cannot be sent (empty when they
// can) and who holds an inhibition now.
QString keepAwakeToolTip(bool running, const QString& pressProblem, InhibitionHolder holder);

// The Always On Top box's tooltip where the topmost layer cannot be used.
QString alwaysOnTopUnavailable(const QString& why);

// The reason the desktop may show for the screensaver inhibition.
QString inhibitionReason();

} // namespace zb
