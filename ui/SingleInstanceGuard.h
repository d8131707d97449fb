#pragma once

#include <QString>

class QWidget;

namespace zb {

class SingleInstance;

// Claims the executable's name for this process. When another copy already
// runs under it, asks that copy to come to the front, says so on standard
// error and returns false. Unless standard error is a terminal, where that
// line is read, it says so in a notice as well, on top of every window, that
// closes itself after a while (nobody may be at the desk for a scheduled
// start).
bool claimOrHandOver(SingleInstance& instance, const QString& name, bool stderrIsTerminal);

// The running copy's side: raises `window` whenever another copy asks.
void bringToFrontOnRequest(SingleInstance& instance, QWidget& window);

} // namespace zb
