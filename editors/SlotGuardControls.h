#pragma once

#include "core/Control.h"

#include <QStringList>

namespace zb {

class Settings;

// The guard controls of one slot in a task editor: the time limit of a wait
// on the task, whether the task is stopped at it, and whether its failure
// stops the chain. Named after slot `n` of the window (the single task
// window's always carry slot 1's names).
struct SlotGuardControls {
    explicit SlotGuardControls(int n);

    // Slot `slot`'s stored values.
    void load(const Settings& settings, int slot);
    void store(Settings& settings, int slot) const;
    QStringList values() const;
    // Paints a limit that is none red and says so; the text is kept as typed.
    void checkLimit();

    TextField TIME_LIMIT_TEXTBOX;
    TickBox TIME_LIMIT_STOP_TICKBOX;
    TickBox STOP_ON_FAILURE_TICKBOX;
};

} // namespace zb
