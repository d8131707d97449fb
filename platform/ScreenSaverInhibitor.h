#pragma once

#include <QString>

namespace zb {

// Holds off the session's screensaver and screen lock through the desktop's
// own service, where the session offers one.
class ScreenSaverInhibitor {
public:
    virtual ~ScreenSaverInhibitor() = default;
    // Asks for an inhibition, giving the reason the desktop may show; true
    // when one is held afterwards. Asking again while one is held keeps it.
    virtual bool inhibit(const QString& reason) = 0;
    // Gives a held inhibition back; nothing when none is held.
    virtual void release() = 0;
    virtual bool held() const = 0;
};

} // namespace zb
