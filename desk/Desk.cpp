#include "Desk.h"

#include "platform/Services.h"

namespace zb {

namespace {
template <typename T>
T& orNull(T* given, T& null)
{
    return given != nullptr ? *given : null;
}
} // namespace

Desk::Desk(MainWindowModel& main, const Services& services)
    : heartbeat_(main, orNull(services.keyboard, static_cast<Keyboard&>(nullKeyboard_)),
                 orNull(services.screenSaver, static_cast<ScreenSaverInhibitor&>(nullScreenSaver_))),
      lockLights_(main, orNull(services.keyboard, static_cast<Keyboard&>(nullKeyboard_)),
                  [this] { heartbeat_.keyboardChanged(); }),
      alwaysOnTop_(main, orNull(services.stacking, static_cast<WindowStacking&>(nullStacking_))),
      scanner_(main)
{}

} // namespace zb
