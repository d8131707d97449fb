#pragma once

#include <QString>

// What the status line says at the turns of a pass, so that it never tells
// more than is known.
namespace zb::status {

// Slot n hands over to the next one: its task may still run, or have ended
// (`failedHow` says how it ended badly, empty when it did not).
QString handedOver(int n, bool stillRunning, const QString& failedHow);

// The chain has ended and nothing closes the program.
QString ready(bool clean);

// STOP was pressed: before any task started, at slot `turn`, or (0) after
// the chain had ended.
QString stopped(bool beforeAnyTask, int turn);

} // namespace zb::status
