#pragma once

#include <QString>
#include <QtGlobal>

// How the main window writes its clock values.
namespace zb {

// Where a countdown starts at window load and after a double-click.
inline constexpr int kCountdownStartSeconds = 11;
// What a countdown field shows and reads back: the field text "00" fires it.
inline const QString kCountdownFiresAt = QStringLiteral("00");
// What a countdown field shows once its countdown has fired.
inline const QString kCountdownFired = QStringLiteral("-- --");

// The seconds part of a countdown value's magnitude, two digits: (|s| mod 60),
// so that a countdown run on below zero reads "01", "02", … "59", "00".
QString countdownFieldText(qint64 seconds);

// A count of seconds as "hh:mm:ss" of the day it falls in: after 24 hours
// the display starts again at "00:00:00".
QString runtimeClockText(qint64 seconds);

// A span of seconds as "h:mm:ss", the hours not wrapped: "0:00:03", "26:00:00".
QString durationText(qint64 seconds);

} // namespace zb
