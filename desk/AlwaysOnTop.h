#pragma once

namespace zb {

class MainWindowModel;
class WindowStacking;

// Keeps the main window in the topmost layer while AlwaysOnTopTimer is on:
// when another program's window has the foreground, that window is taken out
// of the topmost layer and the main window put there, each only when its
// state must change; the main window goes there also when it has the
// foreground itself, and leaves it as soon as the timer is stopped. This program's own windows, a modal editor above
// all, and the windows of its other copies are never demoted. A desktop that tells of its changes is followed as it
// changes and the timer sleeps; else the timer looks once a second. Where the desktop has no topmost layer the Always
// On Top box is disabled and says why.
class AlwaysOnTop {
public:
    AlwaysOnTop(MainWindowModel& main, WindowStacking& stacking);
    AlwaysOnTop(const AlwaysOnTop&) = delete;
    AlwaysOnTop& operator=(const AlwaysOnTop&) = delete;
    // The keyboard or desktop outlives this: it stops telling.
    ~AlwaysOnTop();

    void AlwaysOnTopTimer_Timer();

private:
    // False once the desktop has said it has no topmost layer, which the box
    // then shows.
    bool stillAvailable();
    void leaveTopmostLayer();

    MainWindowModel& main_;
    WindowStacking& stacking_;
    bool available_ = true;
};

} // namespace zb
