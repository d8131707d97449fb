#pragma once

#include <QString>

namespace zb {

// Why the local X display that DISPLAY names, which answers, still refuses
// this program (in the server's own words, such as no valid authorization
// after a logout), or empty when it accepts it or the question does not
// apply. Asked before Qt is started, which would abort.
QString displayRefusal();

} // namespace zb
