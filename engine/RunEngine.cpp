#include "RunEngine.h"

#include "platform/Services.h"

namespace zb {

RunEngine::RunEngine(MainWindowModel& main, const Services& services) : chain_(main, services.launcher) {}

} // namespace zb
