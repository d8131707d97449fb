#include "AlwaysOnTop.h"

#include "core/MainWindowModel.h"
#include "platform/WindowStacking.h"

namespace zb {

AlwaysOnTop::AlwaysOnTop(MainWindowModel& main, WindowStacking& stacking) : main_(main), stacking_(stacking)
{
    main_.AlwaysOnTopTimer.onTick = [this] { AlwaysOnTopTimer_Timer(); };
}

void AlwaysOnTop::AlwaysOnTopTimer_Timer()
{
    const WindowId self = stacking_.mainWindow();
    if (self == 0)
        return; // not on the screen yet
    const WindowId foreground = stacking_.foregroundWindow();
    if (foreground == self)
        return;
    if (foreground != 0 && stacking_.isOwnWindow(foreground)) {
        // An editor of ours holds the input: demoting it, or lifting the main
        // window over it, would hide the window the user works in.
        return;
    }
    if (foreground != 0)
        stacking_.setTopmost(foreground, false);
    stacking_.setTopmost(self, true);
}

} // namespace zb
