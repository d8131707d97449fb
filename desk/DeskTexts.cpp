#include "DeskTexts.h"

namespace zb {

QString lockLightToolTip(LockKey key, LockState state, const QString& readProblem, const QString& pressProblem,
                         const QString& readCaveat)
{
    const char* name = key == LockKey::Num ? "NUM LOCK" : key == LockKey::Caps ? "CAPS LOCK" : "SCROLL LOCK";
    const char* value = state == LockState::On ? "ON" : state == LockState::Off ? "OFF" : "UNKNOWN";
    QString tip = QLatin1String(name) + QLatin1String(" = ") + QLatin1String(value);
    if (state == LockState::Unknown && !readProblem.isEmpty())
        tip += QStringLiteral("\nThe state cannot be read: ") + readProblem;
    if (state != LockState::Unknown && !readCaveat.isEmpty())
        tip += QStringLiteral("\nThe state shown may be stale: ") + readCaveat;
    // Where nothing can be read, nothing can be pressed either, for the same
    // reason: said once.
    if (!pressProblem.isEmpty() && pressProblem != readProblem)
        tip += QStringLiteral("\nA double-click cannot press it: ") + pressProblem;
    return tip;
}

namespace {

QString holderName(InhibitionHolder holder)
{
    switch (holder) {
    case InhibitionHolder::ScreenSaver:
        return QStringLiteral("an inhibition held by the screensaver service (org.freedesktop.ScreenSaver)");
    case InhibitionHolder::Portal:
        return QStringLiteral("an inhibition held by the desktop portal (org.freedesktop.portal.Inhibit)");
    case InhibitionHolder::None:
        break;
    }
    return {};
}

} // namespace

QString keepAwakeToolTip(bool running, const QString& pressProblem, InhibitionHolder holder)
{
    const bool keys = pressProblem.isEmpty();
    const QString noKeys = QStringLiteral("key presses are not available: ") + pressProblem;
    if (!running)
        return keys ? QStringLiteral("Heartbeat stopped") : QStringLiteral("Heartbeat stopped; ") + noKeys;
    if (keys && holder != InhibitionHolder::None)
        return QStringLiteral("Keeping the session awake: key presses and ") + holderName(holder);
    if (keys)
        return QStringLiteral("Keeping the session awake: key presses only; no screensaver service or desktop "
                              "portal holds an inhibition");
    if (holder != InhibitionHolder::None)
        return QStringLiteral("Keeping the session awake: ") + holderName(holder) + QStringLiteral(" only; ") + noKeys;
    return QStringLiteral("Not keeping the session awake: no screensaver service or desktop portal holds an "
                          "inhibition, and ") +
           noKeys;
}

QString alwaysOnTopUnavailable(const QString& why) { return QStringLiteral("Always On Top is not available: ") + why; }

QString inhibitionReason() { return QStringLiteral("Heartbeat running: keeping the session awake"); }

} // namespace zb
