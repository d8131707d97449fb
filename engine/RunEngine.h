#pragma once

#include "TaskChain.h"

namespace zb {

class MainWindowModel;
struct Services;

// Everything that starts, paces, holds and ends a run, attached to the main
// window's controls and timers.
class RunEngine {
public:
    RunEngine(MainWindowModel& main, const Services& services);

    TaskChain& chain() { return chain_; }

private:
    TaskChain chain_;
};

} // namespace zb
