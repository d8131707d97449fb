#pragma once

#include "AlwaysOnTop.h"
#include "Heartbeat.h"
#include "KittScanner.h"
#include "LockLights.h"
#include "platform/null/NullDesk.h"

namespace zb {

class MainWindowModel;
struct Services;

// The main window's desk features, attached to its controls and timers: the
// heartbeat, the lock-key lights, always on top and the scanner. A service
// the system does not offer is stood in for by a null one.
class Desk {
public:
    Desk(MainWindowModel& main, const Services& services);

    Heartbeat& heartbeat() { return heartbeat_; }

private:
    NullKeyboard nullKeyboard_;
    NullWindowStacking nullStacking_;
    NullScreenSaverInhibitor nullScreenSaver_;
    Heartbeat heartbeat_;
    LockLights lockLights_;
    AlwaysOnTop alwaysOnTop_;
    KittScanner scanner_;
};

} // namespace zb
