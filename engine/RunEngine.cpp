#include "RunEngine.h"

#include "core/MainWindowModel.h"
#include "platform/Services.h"

namespace zb {

RunEngine::RunEngine(MainWindowModel& main, const Services& services)
    : recorder_(main, services.launcher),
      chain_(main, services.launcher, services.processes, recorder_),
      stopper_(main.timers(), services.launcher, recorder_),
      watcher_(main, chain_, recorder_, services.processes, stopper_),
      run_(main, chain_, recorder_, services.launcher, services.files, services.exe),
      autostart_(main, run_),
      autoclose_(main, run_)
{
    main.onUnloading = [this] {
        stopper_.programClosing();
        run_.programClosing();
    };
    chain_.onStartedByHand = [this] { autostart_.cancel(); };
    main.onUnloaded = [this] { recorder_.programClosing(); };
}

} // namespace zb
