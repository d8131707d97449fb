#include "ProgramVersion.h"

namespace zb {

QString programVersion() { return QStringLiteral(ZB_VERSION); }

} // namespace zb
