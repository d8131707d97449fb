// Time from exec to the first mapped frame of the program's main window,
// side by side with an empty Qt 6 window, on the X server in DISPLAY (run it
// through tools/startup-bench.sh for a private one with a window manager).
// Also counts the other top-level windows each start maps on the way.
//
//   zb_startup_bench PROGRAM TITLE BASELINE BASELINE_TITLE [RUNS]
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// True when the window or one of its children (the client in a frame) is named `title`.
bool named(Display* d, Window w, const std::string& title, int depth = 2)
{
    char* name = nullptr;
    if (XFetchName(d, w, &name) != 0 && name != nullptr) {
        const bool match = title == name;
        XFree(name);
        if (match)
            return true;
    }
    if (depth == 0)
        return false;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(d, w, &root, &parent, &children, &count) == 0)
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i)
        found = named(d, children[i], title, depth - 1);
    if (children != nullptr)
        XFree(children);
    return found;
}

// A short-lived window may be gone by the time it is looked at.
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

struct Run {
    double ms = 0;
    int otherMaps = 0;
};

Run startOnce(Display* d, const char* program, const std::string& title)
{
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, True); // drop old events
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    Run run;
    // A start that never maps its window (it handed over to a copy of the
    // same name, or failed) ends the measurement instead of hanging it.
    const auto deadline = start + std::chrono::seconds(20);
    for (;;) {
        while (XPending(d) == 0) {
            if (Clock::now() > deadline) {
                std::fprintf(stderr, "%s mapped no window named \"%s\" in 20 s\n", program, title.c_str());
                kill(child, SIGTERM);
                waitpid(child, nullptr, 0);
                std::exit(1);
            }
            pollfd x{ConnectionNumber(d), POLLIN, 0};
            poll(&x, 1, 100);
        }
        XEvent e;
        XNextEvent(d, &e);
        if (e.type != MapNotify)
            continue;
        if (named(d, e.xmap.window, title)) {
            run.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        ++run.otherMaps;
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return run;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s PROGRAM TITLE BASELINE BASELINE_TITLE [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 5 ? std::max(1, std::atoi(argv[5])) : 10;
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    std::vector<double> program, baseline;
    int strays = 0;
    // Interleaved, so that both see the same machine load.
    for (int i = 0; i < runs; ++i) {
        baseline.push_back(startOnce(d, argv[3], argv[4]).ms);
        const Run r = startOnce(d, argv[1], argv[2]);
        program.push_back(r.ms);
        strays = std::max(strays, r.otherMaps);
    }
    const double p = median(program);
    const double b = median(baseline);
    std::printf("exec to first mapped frame, median of %d runs\n", runs);
    std::printf("  empty Qt 6 window: %7.1f ms\n", b);
    std::printf("  zb-sequenta:       %7.1f ms  (%.2fx the empty window)\n", p, p / b);
    std::printf("  other top-level windows mapped before the main window: %d\n", strays);
    XCloseDisplay(d);
    return 0;
}
