#include "DeskTexts.h"

namespace zb {

QString lockLightToolTip(LockKey key, LockState state)
{
    const char* name = key == LockKey::Num ? "NUM LOCK" : key == LockKey::Caps ? "CAPS LOCK" : "SCROLL LOCK";
    const char* value = state == LockState::On ? "ON" : state == LockState::Off ? "OFF" : "UNKNOWN";
    return QLatin1String(name) + QLatin1String(" = ") + QLatin1String(value);
}

QString keepAwakeToolTip(bool running, bool keyPresses, bool inhibited)
{
    const QString noKeys = QStringLiteral("key presses are not available");
    if (!running)
        return keyPresses ? QStringLiteral("Heartbeat stopped") : QStringLiteral("Heartbeat stopped; ") + noKeys;
    if (keyPresses && inhibited)
        return QStringLiteral("Keeping the session awake: key presses and screensaver inhibition");
    if (keyPresses)
        return QStringLiteral("Keeping the session awake: key presses only");
    if (inhibited)
        return QStringLiteral("Keeping the session awake: screensaver inhibition only; ") + noKeys;
    return QStringLiteral("Not keeping the session awake: ") + noKeys +
           QStringLiteral(" and no screensaver service answered");
}

QString inhibitionReason() { return QStringLiteral("Heartbeat running: keeping the session awake"); }

} // namespace zb
