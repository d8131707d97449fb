#pragma once

#include "SlotArray.h"

namespace zb {

class Settings;
class TickBox;

// The six program-wide switches of a window, in the order they are restored.
struct ProgramSwitches {
    TickBox& autostart;
    TickBox& alwaysOnTop;
    TickBox& autoclose;
    TickBox& kittAutostart;
    TickBox& startEmail;
    TickBox& endEmail;
};

// Restores the six switches from the store, each through its click handling.
void restoreProgramSwitches(const Settings& settings, const ProgramSwitches& switches);

// Restores the twenty enable ticks, then the twenty pause ticks.
void restoreSlotSwitches(const Settings& settings, SlotArray<TickBox>& enable, SlotArray<TickBox>& pause);
// Stores the twenty enable ticks, then the twenty pause ticks.
void storeSlotSwitches(Settings& settings, const SlotArray<TickBox>& enable, const SlotArray<TickBox>& pause);
// Puts the twenty slot names on the enable tick boxes.
void restoreSlotCaptions(const Settings& settings, SlotArray<TickBox>& enable);

} // namespace zb
