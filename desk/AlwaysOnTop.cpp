#include "AlwaysOnTop.h"

#include "DeskTexts.h"
#include "core/MainWindowModel.h"
#include "platform/WindowStacking.h"

namespace zb {

AlwaysOnTop::AlwaysOnTop(MainWindowModel& main, WindowStacking& stacking) : main_(main), stacking_(stacking)
{
    main_.AlwaysOnTopTimer.onTick = [this] { AlwaysOnTopTimer_Timer(); };
    if (!stillAvailable())
        return;
    // A desktop that is asked only once the window shows may tell only then
    // that it has no topmost layer.
    const bool told = stacking_.watch([this] {
        if (stillAvailable() && main_.AlwaysOnTopTimer.enabled())
            AlwaysOnTopTimer_Timer();
    });
    if (told)
        main_.AlwaysOnTopTimer.setWakesUp(false);
    // Told of changes, it looks at once as it is switched on; asked, at its
    // first tick.
    main_.AlwaysOnTopTimer.onEnabledChanged = [this, told] {
        if (!main_.AlwaysOnTopTimer.enabled())
            leaveTopmostLayer();
        else if (told)
            AlwaysOnTopTimer_Timer();
    };
}

bool AlwaysOnTop::stillAvailable()
{
    if (!available_)
        return false;
    const QString problem = stacking_.topmostProblem();
    if (problem.isEmpty())
        return true;
    // The stored switch stays as it is, for a desktop that has the layer.
    available_ = false;
    main_.AlwaysOnTopTimer_TICKBOX.setEnabled(false);
    main_.AlwaysOnTopTimer_TICKBOX.setToolTip(alwaysOnTopUnavailable(problem));
    main_.AlwaysOnTopTimer.setWakesUp(false);
    return false;
}

void AlwaysOnTop::leaveTopmostLayer()
{
    // Unticked: the window goes back among the others at once.
    const WindowId self = stacking_.mainWindow();
    if (self != 0 && stacking_.isTopmost(self))
        stacking_.setTopmost(self, false);
}

AlwaysOnTop::~AlwaysOnTop() { stacking_.watch(nullptr); }

void AlwaysOnTop::AlwaysOnTopTimer_Timer()
{
    if (!available_)
        return;
    const WindowId self = stacking_.mainWindow();
    if (self == 0)
        return; // not on the screen yet
    const WindowId foreground = stacking_.foregroundWindow();
    if (foreground == self) {
        // Activated before any other window had the foreground (a copy just
        // started): it goes on top now, not at the next change.
        if (!stacking_.isTopmost(self))
            stacking_.setTopmost(self, true);
        return;
    }
    if (foreground != 0 && stacking_.isOwnWindow(foreground)) {
        // An editor of ours holds the input: demoting it, or lifting the main
        // window over it, would hide the window the user works in.
        return;
    }
    // Another copy of this program keeps its place beside ours: two copies
    // that demoted each other would fight over the top.
    if (foreground != 0 && !stacking_.isAnotherCopy(foreground) && stacking_.isTopmost(foreground))
        stacking_.setTopmost(foreground, false);
    if (!stacking_.isTopmost(self))
        stacking_.setTopmost(self, true);
}

} // namespace zb
