#pragma once

namespace zb {

// The secondary windows a button can open.
enum class WindowKind {
    MainSettings,
    ManageTasks,
    SingleTaskSettings,
    AllTaskSettings,
    EmailSettings,
    EmailSharedSettings, // from the e-mail settings window
    EmailOutputCommands, // from the e-mail settings window
    SchedulerSettings,
    About,
    Donations, // from the about window
    History,
};

// Opens a secondary window modally, owned by the window that asks, and
// returns when it has closed. The views implement it; tests record it.
class WindowOpener {
public:
    virtual ~WindowOpener() = default;
    virtual void showModal(WindowKind kind) = 0;
};

} // namespace zb
