#include "platform/SystemDesk.h"

#include "NullDesk.h"

namespace zb {

SystemDesk createSystemDesk(std::function<WindowId()>)
{
    return {std::make_unique<NullKeyboard>(), std::make_unique<NullWindowStacking>(),
            std::make_unique<NullScreenSaverInhibitor>()};
}

} // namespace zb
