#pragma once

namespace zb {

class MainWindowModel;
class WindowStacking;

// Keeps the main window in the topmost layer while AlwaysOnTopTimer runs:
// once a second, another program's window in the foreground is taken out of
// the topmost layer and the main window put there. This program's own
// windows, a modal editor above all, are never demoted.
class AlwaysOnTop {
public:
    AlwaysOnTop(MainWindowModel& main, WindowStacking& stacking);
    AlwaysOnTop(const AlwaysOnTop&) = delete;
    AlwaysOnTop& operator=(const AlwaysOnTop&) = delete;

    void AlwaysOnTopTimer_Timer();

private:
    MainWindowModel& main_;
    WindowStacking& stacking_;
};

} // namespace zb
