// Presses keys as a person would, to whatever window has the focus on the X
// server in DISPLAY: for the benchmarks that drive the real program.
//   zb_press_keys KEY... (an X key name, "alt+" in front for Alt: Return alt+h Escape)
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

void tap(Display* d, KeyCode code, bool down)
{
    XTestFakeKeyEvent(d, code, down ? True : False, CurrentTime);
    XFlush(d);
    usleep(20'000);
}

} // namespace

int main(int argc, char** argv)
{
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const KeyCode alt = XKeysymToKeycode(d, XStringToKeysym("Alt_L"));
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const bool withAlt = std::strncmp(argv[i], "alt+", 4) == 0;
        const char* name = withAlt ? argv[i] + 4 : argv[i];
        const KeySym sym = XStringToKeysym(name);
        const KeyCode code = sym != NoSymbol ? XKeysymToKeycode(d, sym) : 0;
        if (code == 0) {
            std::fprintf(stderr, "no such key: %s\n", argv[i]);
            status = 2;
            continue;
        }
        if (withAlt)
            tap(d, alt, true);
        tap(d, code, true);
        tap(d, code, false);
        if (withAlt)
            tap(d, alt, false);
    }
    XCloseDisplay(d);
    return status;
}
