// Time from exec to the first mapped frame of the program's main window,
// side by side with baseline windows, on the X server in DISPLAY (run it
// through tools/startup-bench.sh for a private one with a window manager).
// Also counts the other top-level windows each start maps on the way.
//
//   zb_startup_bench RUNS PROGRAM TITLE BASELINE TITLE [BASELINE TITLE ...]
//
// A command may carry one argument after a space ("window --label"). Each
// baseline is compared with the first one, and the program with each.
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

struct Start {
    std::string command;
    std::string argument;
    std::string title;
    std::vector<double> ms;
};

Run startOnce(Display* d, const Start& what)
{
    const char* program = what.command.c_str();
    const std::string& title = what.title;
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, True); // drop old events
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (what.argument.empty())
            execl(program, program, static_cast<char*>(nullptr));
        else
            execl(program, program, what.argument.c_str(), static_cast<char*>(nullptr));
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
    if (argc < 6 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: %s RUNS PROGRAM TITLE BASELINE TITLE [BASELINE TITLE ...]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<Start> starts;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string command = argv[i];
        const std::size_t space = command.find(' ');
        starts.push_back(
            {command.substr(0, space), space == std::string::npos ? "" : command.substr(space + 1), argv[i + 1], {}});
    }
    Display* d = XOpenDisplay(nullptr);
    if (d == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    int strays = 0;
    // Interleaved, so that all see the same machine load.
    for (int i = 0; i < runs; ++i)
        for (std::size_t k = starts.size(); k-- > 0;) {
            const Run r = startOnce(d, starts[k]);
            starts[k].ms.push_back(r.ms);
            if (k == 0)
                strays = std::max(strays, r.otherMaps);
        }
    std::printf("exec to first mapped frame, median of %d runs\n", runs);
    const double empty = median(starts[1].ms);
    for (std::size_t k = 1; k < starts.size(); ++k) {
        const double b = median(starts[k].ms);
        std::printf("  %-28s %7.1f ms", (starts[k].title + ":").c_str(), b);
        if (k > 1)
            std::printf("  (%.2fx the %s)", b / empty, starts[1].title.c_str());
        std::printf("\n");
    }
    const double p = median(starts[0].ms);
    std::printf("  %-28s %7.1f ms ", "zb-sequenta:", p);
    for (std::size_t k = 1; k < starts.size(); ++k)
        std::printf(" (%.2fx the %s)", p / median(starts[k].ms), starts[k].title.c_str());
    std::printf("\n  other top-level windows mapped before the main window: %d\n", strays);
    XCloseDisplay(d);
    return 0;
}
