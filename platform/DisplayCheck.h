#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace zb {

// Qt opens the display itself, and nothing connects to it before: a client
// that comes and goes just before can make a server turn the next one away,
// Qt's. This watches Qt's own attempt instead. Begun before the application
// object exists, it asks Qt for the window system with the offscreen platform
// as fallback, keeps what Qt and the system's libraries say meanwhile, and
// arms a watchdog against a display that never answers.
class DisplayOpening {
public:
    // Runs on the watchdog's thread while the main thread is still stuck in
    // the display; `reason` says why. It must end or replace the process.
    using Hang = std::function<void(const QString& reason)>;

    virtual ~DisplayOpening() = default;
    // After the application object exists: why no window can open on the
    // display Qt was asked for, or empty when one can (or when the caller
    // chose the platform itself). Ends the watchdog.
    virtual QString finish(const QString& platformChosen) = 0;
};

// `seconds` is how long the display has to answer. With `platformGiven` (the
// user named one on the command line) Qt's choice is left as it is.
std::unique_ptr<DisplayOpening> beginDisplayOpening(int seconds, bool platformGiven, DisplayOpening::Hang onHang);

// Starts this program again in place of this process, with the arguments
// given and the environment with `changes` ("NAME=value") made; returns only
// on failure. Safe while another thread is stuck.
void restartThisProgram(char** argv, const QList<QByteArray>& changes);

} // namespace zb
