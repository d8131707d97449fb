#include "RunEngine.h"

#include "platform/Services.h"

namespace zb {

RunEngine::RunEngine(MainWindowModel& main, const Services& services)
    : chain_(main, services.launcher),
      watcher_(main, chain_, services.processes),
      run_(main, chain_, services.launcher, services.files, services.exe),
      autostart_(main, run_),
      autoclose_(main, run_)
{}

} // namespace zb
