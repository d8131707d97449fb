#pragma once

#include "platform/Keyboard.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <cstddef>
#include <memory>

#include <X11/Xlib.h>

class QTimer;

namespace zb {

class X11EventWatch;

// Lock keys on an X server: the state is the Xkb indicators of the core
// keyboard (what its lights show), read in one round trip for all three and
// followed through Xkb's indicator events. A press is an XTest press and
// release of the key where the keymap binds a lock modifier to it; a lock
// without one (Scroll Lock on standard keymaps) is flipped through its
// indicator where the keymap allows that. Under XWayland nothing is pressed:
// a synthetic press would reach the X programs only, not the desktop.
//
// Nothing is asked of the server until begin(), at the first turn of the
// event loop, so that a start does not wait for it before its window shows: until then the locks and the idle limit are
// unknown, no problem is told and a watch is only noted, whose listener
// begin() then tells. A press begins at once.
class X11Keyboard : public Keyboard {
public:
    // The display stays the caller's; events, when given, are read from the
    // watch's own connection.
    X11Keyboard(Display* display, std::shared_ptr<X11EventWatch> events);

    // Looks at the server and its keymap, once; later calls do nothing.
    void begin();

    // Whether an X server is XWayland, from what it shows: newer ones name
    // themselves by an extension, older ones by their input devices; one
    // without either by the program at the other end of a local connection:
    // XWayland itself, or a Wayland compositor that made the socket and
    // hands it to the XWayland it starts on demand.
    struct ServerSigns {
        bool xwaylandExtension = false;
        QStringList inputDevices;
        QString serverProgram;       // empty when not known (a remote display)
        bool waylandSession = false; // WAYLAND_DISPLAY is set, or the session type is "wayland"
    };
    static bool isXWayland(const ServerSigns& signs);

    ~X11Keyboard() override;
    X11Keyboard(const X11Keyboard&) = delete;
    X11Keyboard& operator=(const X11Keyboard&) = delete;

    QString readProblem() const override;
    QString pressProblem(LockKey key) const override;
    LockStates lockStates() override;
    bool press(LockKey key) override;
    bool watch(std::function<void()> onChange) override;
    // The X server's screen saver timeout and, where DPMS is on, its first
    // power-saving timeout: whichever comes first.
    int idleLimitSeconds() override;
    QString readCaveat() const override;

private:
    enum class Way { Nothing, Keys, Light };
    static constexpr std::size_t index(LockKey key) { return static_cast<std::size_t>(key); }
    bool watchEvents();

    Display* display_;
    std::shared_ptr<X11EventWatch> events_;
    std::function<void()> onChange_;
    std::unique_ptr<QTimer> poll_; // where the server's events cannot be followed
    int handler_ = 0;
    bool begun_ = false;
    bool watching_ = false;
    bool xkb_ = false;
    bool xtest_ = false;
    bool xwayland_ = false;
    std::array<int, 3> indicator_{-1, -1, -1}; // bit of each lock's indicator
    std::array<Atom, 3> indicatorName_{0, 0, 0};
    std::array<KeyCode, 3> keycode_{0, 0, 0};
    std::array<Way, 3> way_{Way::Nothing, Way::Nothing, Way::Nothing};
    QObject context_; // the deferred begin goes with this
};

} // namespace zb
