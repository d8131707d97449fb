#pragma once

#include "core/MainWindowModel.h"
#include "core/Settings.h"
#include "desk/Desk.h"
#include "engine/RunEngine.h"
#include "platform/Services.h"

namespace zb {

// The program's logic in one piece: the settings, the main window and
// everything attached to it, over the operating-system services.
class Program {
public:
    explicit Program(const Services& services);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Opens the main window (its start-up).
    void start();

    Services services;
    Settings settings;
    MainWindowModel main;
    RunEngine engine;
    Desk desk;
};

} // namespace zb
