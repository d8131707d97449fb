#include "platform/DisplayCheck.h"

namespace zb {

QString displayRefusal() { return {}; }

} // namespace zb
