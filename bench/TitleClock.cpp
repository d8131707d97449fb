// A window in front whose title changes every second, as a terminal showing
// a clock does: the foreground the desk must not wake up for.
//   zb_title_clock [TITLE]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <unistd.h>

int main(int argc, char** argv)
{
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr)
        return 1;
    const char* stem = argc > 1 ? argv[1] : "title clock";
    const Window root = DefaultRootWindow(d);
    const Window w = XCreateSimpleWindow(d, root, 40, 40, 400, 120, 0, 0, WhitePixel(d, DefaultScreen(d)));
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    XStoreName(d, w, stem);
    XMapWindow(d, w);
    XSync(d, False);
    usleep(300'000);
    // Asked into the foreground as a pager would.
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w;
    e.xclient.message_type = XInternAtom(d, "_NET_ACTIVE_WINDOW", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = 2;
    XSendEvent(d, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
    XFlush(d);
    for (;;) {
        char title[128];
        const std::time_t now = std::time(nullptr);
        std::snprintf(title, sizeof title, "%s %s", stem, std::ctime(&now));
        title[std::strcspn(title, "\n")] = '\0';
        XStoreName(d, w, title);
        XChangeProperty(d, w, netName, utf8, 8, PropModeReplace, reinterpret_cast<unsigned char*>(title),
                        static_cast<int>(std::strlen(title)));
        XFlush(d);
        sleep(1);
    }
}
