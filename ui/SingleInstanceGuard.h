#pragma once

#include <QString>

class QWidget;

namespace zb {

class SingleInstance;

// Claims the executable's name for this process. When another copy already
// runs under it, asks that copy to come to the front, says so on standard
// error and, given a window to show it in, in a notice on top of every
// window that closes itself after a while (nobody may be at the desk for a
// scheduled start), and returns false. The program gives no window where
// there is none, and none where standard error is a terminal: the line there
// is read.
bool claimOrHandOver(SingleInstance& instance, const QString& name, bool withWindow = true);
// The same after a claim that was made before and failed.
void handOver(SingleInstance& instance, const QString& name, bool withWindow = true);

// The running copy's side: raises `window` whenever another copy asks.
void bringToFrontOnRequest(SingleInstance& instance, QWidget& window);

} // namespace zb
