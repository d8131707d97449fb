#pragma once

#include <X11/Xlib.h>

namespace zb {

// While it lives, an X error (a window that has gone since its id was read)
// is counted instead of reaching Xlib's default handler, which would end the
// program. Covers requests that wait for their reply; the previous handler
// comes back on destruction.
class X11ErrorTrap {
public:
    X11ErrorTrap();
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    bool failed() const;

private:
    XErrorHandler previous_;
    int errorsBefore_;
};

} // namespace zb
