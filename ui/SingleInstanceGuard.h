#pragma once

#include <QString>

class QWidget;

namespace zb {

class SingleInstance;

// Claims the executable's name for this process. When another copy already
// runs under it, asks that copy to come to the front, says so on standard
// error and in a message that closes itself after a while (nobody may be at
// the desk for a scheduled start), and returns false. Without a window only
// the line on standard error is given.
bool claimOrHandOver(SingleInstance& instance, const QString& name, bool withWindow = true);

// The running copy's side: raises `window` whenever another copy asks.
void bringToFrontOnRequest(SingleInstance& instance, QWidget& window);

} // namespace zb
