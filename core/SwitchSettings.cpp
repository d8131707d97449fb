#include "SwitchSettings.h"

#include "Control.h"
#include "Settings.h"

namespace zb {

void restoreProgramSwitches(const Settings& settings, const ProgramSwitches& s)
{
    s.autostart.setValue(settings.readTick(keys::AUTOSTART_TICKBOX));
    s.alwaysOnTop.setValue(settings.readTick(keys::AlwaysOnTopTimer_TICKBOX));
    s.autoclose.setValue(settings.readTick(keys::AUTOCLOSE_TICKBOX));
    s.kittAutostart.setValue(settings.readTick(keys::KITT_AUTOSTART_TICKBOX));
    s.startEmail.setValue(settings.readTick(keys::START_EMAIL_TICKBOX));
    s.endEmail.setValue(settings.readTick(keys::END_EMAIL_TICKBOX));
}

void restoreSlotSwitches(const Settings& settings, SlotArray<TickBox>& enable, SlotArray<TickBox>& pause)
{
    for (int n = 1; n <= kSlotCount; ++n)
        enable[n].setValue(settings.readTick(keys::taskEnable(n)));
    for (int n = 1; n <= kSlotCount; ++n)
        pause[n].setValue(settings.readTick(keys::taskPause(n)));
}

void storeSlotSwitches(Settings& settings, const SlotArray<TickBox>& enable, const SlotArray<TickBox>& pause)
{
    for (int n = 1; n <= kSlotCount; ++n)
        settings.writeTick(keys::taskEnable(n), enable[n].value());
    for (int n = 1; n <= kSlotCount; ++n)
        settings.writeTick(keys::taskPause(n), pause[n].value());
}

void restoreSlotCaptions(const Settings& settings, SlotArray<TickBox>& enable)
{
    for (int n = 1; n <= kSlotCount; ++n)
        enable[n].setCaption(settings.readText(keys::taskCaption(n)));
}

} // namespace zb
