#pragma once

#include "platform/Keyboard.h"
#include "platform/ScreenSaverInhibitor.h"
#include "platform/WindowStacking.h"

#include <functional>
#include <memory>

namespace zb {

// The desk's services on this system: the keyboard's lock keys, the window
// stacking and the screensaver inhibition. Where the session has no such
// thing (no X server, no screensaver service) the part is a null one.
struct SystemDesk {
    std::unique_ptr<Keyboard> keyboard;
    std::unique_ptr<WindowStacking> stacking;
    std::unique_ptr<ScreenSaverInhibitor> screenSaver;
};

// Call once the application object exists. mainWindow gives the main
// window's native id, or 0 while it has none.
SystemDesk createSystemDesk(std::function<WindowId()> mainWindow);

} // namespace zb
