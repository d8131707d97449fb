// Windows on a real X server under a decorating window manager: where they
// open, and what their close stores.
#include "editors/SingleTaskSettingsWindowModel.h"
#include "tests/editors/EditorTestSupport.h"
#include "tests/support/Harness.h"
#include "tests/support/XSession.h"
#include "ui/MainWindowView.h"
#include "ui/SingleTaskSettingsWindowView.h"

#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <iterator>
#include <optional>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace zb {
namespace {

// Waits until the window manager has framed the window and stopped moving it.
void waitUntilFramed(QWidget& w)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w, 5000));
    for (int i = 0; i < 250 && w.windowHandle()->frameMargins().isNull(); ++i)
        QTest::qWait(20);
    ASSERT_FALSE(w.windowHandle()->frameMargins().isNull()) << "the window manager put no frame around the window";
    QTest::qWait(400);
}

void waitUntil(const std::function<bool()>& condition)
{
    for (int i = 0; i < 250 && !condition(); ++i)
        QTest::qWait(20);
}

bool wholyOnAScreen(const QRect& frame)
{
    for (const QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().contains(frame))
            return true;
    return false;
}

// The window's frame as the X server has it, asked over a connection of the
// test's own, as another program would see it.
class ServerView {
public:
    ServerView() : d_(XOpenDisplay(nullptr)) {}
    ~ServerView()
    {
        if (d_ != nullptr)
            XCloseDisplay(d_);
    }
    QPoint clientTopLeft(const QWidget& w)
    {
        int x = 0, y = 0;
        Window child = 0;
        XTranslateCoordinates(d_, static_cast<Window>(w.winId()), DefaultRootWindow(d_), 0, 0, &x, &y, &child);
        return {x, y};
    }
    QPoint frameTopLeft(const QWidget& w)
    {
        const auto id = static_cast<Window>(w.winId());
        const QPoint client = clientTopLeft(w);
        Atom type = 0;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        long left = 0, top = 0;
        if (XGetWindowProperty(d_, id, XInternAtom(d_, "_NET_FRAME_EXTENTS", False), 0, 4, False, XA_CARDINAL, &type,
                               &format, &n, &after, &data) == Success &&
            data != nullptr && n == 4) {
            left = reinterpret_cast<long*>(data)[0];
            top = reinterpret_cast<long*>(data)[2];
        }
        if (data != nullptr)
            XFree(data);
        return client - QPoint(static_cast<int>(left), static_cast<int>(top));
    }
    // Moves the frame as the user would, through the window manager.
    void moveFrame(const QWidget& w, const QPoint& to)
    {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = static_cast<Window>(w.winId());
        e.xclient.message_type = XInternAtom(d_, "_NET_MOVERESIZE_WINDOW", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = 1 | (1 << 8) | (1 << 9) | (2 << 12); // north-west, x and y, from the user
        e.xclient.data.l[1] = to.x();
        e.xclient.data.l[2] = to.y();
        XSendEvent(d_, DefaultRootWindow(d_), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        XSync(d_, False);
    }

private:
    Display* d_;
};

// The frame where the X server has it now: what a window manager reported
// to the window may be wrong (icewm's, after a move).
QRect frameOf(const QWidget& w)
{
    ServerView server;
    return {server.frameTopLeft(w), w.windowHandle()->frameGeometry().size()};
}

// Opens the main window over h's store, lets the window manager frame it,
// runs act and closes it.
void runMainWindow(test::Harness& h, const std::function<void(MainWindowView&)>& act)
{
    Program& p = h.start();
    MainWindowView view(p.main);
    view.applyGeometry();
    view.show();
    waitUntilFramed(view);
    act(view);
    view.close();
}

TEST(WindowPlacementX, WindowsStayWhereTheUserLeftThem)
{
    // Unmoved: the stored position survives open and close to the fraction.
    test::Harness h;
    h.seed(QStringLiteral("MAIN-Left"), QStringLiteral("1500.5"));
    h.seed(QStringLiteral("MAIN-Top"), QStringLiteral("2250"));
    runMainWindow(h, [](MainWindowView&) {});
    EXPECT_EQ(h.stored(QStringLiteral("MAIN-Left")), QStringLiteral("1500.5"));
    EXPECT_EQ(h.stored(QStringLiteral("MAIN-Top")), QStringLiteral("2250"));

    // Moved: the next start puts the frame where the user left it.
    QPoint left;
    runMainWindow(h, [&left](MainWindowView& view) {
        const QPoint target = frameOf(view).topLeft() + QPoint(137, 91);
        view.windowHandle()->setFramePosition(target);
        waitUntil([&] { return frameOf(view).topLeft() == target; });
        left = frameOf(view).topLeft();
        EXPECT_EQ(left, target);
    });
    test::Harness again;
    again.seed(QStringLiteral("MAIN-Left"), h.stored(QStringLiteral("MAIN-Left")));
    again.seed(QStringLiteral("MAIN-Top"), h.stored(QStringLiteral("MAIN-Top")));
    runMainWindow(again, [&left](MainWindowView& view) { EXPECT_EQ(frameOf(view).topLeft(), left); });

    // An editor: unmoved it keeps its place exactly; moved, it comes back there.
    test::Harness e;
    e.seed(QStringLiteral("SINGLE_SETTINGS-Left"), QStringLiteral("3000"));
    e.seed(QStringLiteral("SINGLE_SETTINGS-Top"), QStringLiteral("1800"));
    e.start();
    const QPoint movedTo(140, 165);
    for (int round = 0; round < 3; ++round) {
        SingleTaskSettingsWindowModel model = test::singleTaskWindow(e);
        model.Form_Load();
        SingleTaskSettingsWindowView view(model, nullptr);
        view.show();
        waitUntilFramed(view);
        if (round == 1) {
            view.windowHandle()->setFramePosition(movedTo);
            waitUntil([&] { return frameOf(view).topLeft() == movedTo; });
        }
        if (round == 2) {
            EXPECT_EQ(frameOf(view).topLeft(), movedTo);
        }
        model.OK_BUTTON.click();
        if (round == 0) {
            EXPECT_EQ(e.stored(QStringLiteral("SINGLE_SETTINGS-Left")), QStringLiteral("3000"));
            EXPECT_EQ(e.stored(QStringLiteral("SINGLE_SETTINGS-Top")), QStringLiteral("1800"));
        }
    }
}

TEST(WindowPlacementX, HostileStoredGeometryStillFitsOnTheScreen)
{
    struct Case {
        const char* left;
        const char* top;
        const char* width;
        const char* height;
    };
    const Case cases[] = {
        {"1000", "1000", "62250", "4575"},        // wider than any screen
        {"1000", "1000", "99999999", "99999999"}, // absurd size
        {"1e308", "1e308", "6225", "4575"},       // absurd place
        {"nan", "-1e308", "inf", "nan"},          // not numbers at all
        {"14000", "13000", "6225", "4575"},       // hanging off the bottom right
    };
    for (const Case& c : cases) {
        test::Harness h;
        h.seed(QStringLiteral("MAIN-Left"), QString::fromLatin1(c.left));
        h.seed(QStringLiteral("MAIN-Top"), QString::fromLatin1(c.top));
        h.seed(QStringLiteral("MAIN-Width"), QString::fromLatin1(c.width));
        h.seed(QStringLiteral("MAIN-Height"), QString::fromLatin1(c.height));
        runMainWindow(h, [&c](MainWindowView& view) {
            EXPECT_TRUE(wholyOnAScreen(frameOf(view)))
                << c.left << " " << c.top << " " << c.width << " " << c.height << ": frame at " << frameOf(view).x()
                << "," << frameOf(view).y() << " " << frameOf(view).width() << "x" << frameOf(view).height();
        });
    }
}

TEST(WindowPlacementX, AModalEditorMovedByTheUserComesBackWhereItWasLeft)
{
    ServerView server;
    test::Harness h;
    Program& p = h.start();
    MainWindowView main(p.main);
    main.applyGeometry();
    main.show();
    waitUntilFramed(main);
    // Moved to a new place each time, and looked for there the next time.
    const QPoint places[] = {{150, 170}, {240, 260}, {100, 120}};
    std::optional<QPoint> left;
    for (const QPoint& to : places) {
        SingleTaskSettingsWindowModel model = test::singleTaskWindow(h);
        model.Form_Load();
        SingleTaskSettingsWindowView view(model, &main);
        view.show();
        waitUntilFramed(view);
        if (left) {
            const QPoint off = server.frameTopLeft(view) - *left;
            EXPECT_TRUE(off.isNull()) << "came back " << off.x() << " px right and " << off.y() << " px lower";
        }
        // A user takes a moment to reach for the title bar; by then the
        // window manager is done placing the window, even on a busy machine.
        QTest::qWait(800);
        server.moveFrame(view, to);
        waitUntil([&] { return server.frameTopLeft(view) == to; });
        QTest::qWait(300);
        left = server.frameTopLeft(view);
        model.OK_BUTTON.click();
    }
    main.close();
}

// Puts `name` in charge of the X server in place of the window manager
// running, as a desktop restarting its own would; each ends when replaced.
bool replaceWindowManager(const char* name)
{
    Display* d = XOpenDisplay(nullptr);
    const auto owner = [d] { return XGetSelectionOwner(d, XInternAtom(d, "WM_S0", False)); };
    const Window before = owner();
    // xfwm4 keeps its settings behind a session bus: a private one, ended with it.
    const bool xfwm4 = qstrcmp(name, "xfwm4") == 0;
    QProcess wm;
    wm.setProgram(xfwm4 ? QStringLiteral("dbus-run-session") : QLatin1String(name));
    wm.setArguments(xfwm4 ? QStringList{QStringLiteral("--"), QStringLiteral("xfwm4"), QStringLiteral("--replace"),
                                        QStringLiteral("--compositor=off")}
                          : QStringList{QStringLiteral("--replace")});
    wm.setStandardOutputFile(QProcess::nullDevice());
    wm.setStandardErrorFile(QProcess::nullDevice());
    wm.startDetached();
    waitUntil([&] { return owner() != before && owner() != 0; });
    const bool took = owner() != before && owner() != 0;
    XCloseDisplay(d);
    QTest::qWait(500); // its start-up after taking the screen
    return took;
}

TEST(WindowPlacementX, QtAndTheXServerAgreeWhereEveryWindowIsUnderEveryWindowManager)
{
    using Act = std::function<void(QWidget&)>;
    const char* const managers[] = {"openbox", "icewm", "xfwm4"};
    const struct {
        const char* prefix; // of its settings keys
        const char* button; // the point compared
        void (*open)(test::Harness&, const Act&);
    } windows[] = {{"MAIN", "MAIN_START_STOP_BUTTON",
                    [](test::Harness& h, const Act& act) { runMainWindow(h, [&act](MainWindowView& v) { act(v); }); }},
                   {"SINGLE_SETTINGS", "OK_BUTTON", [](test::Harness& h, const Act& act) {
                        runMainWindow(h, [&](MainWindowView& main) {
                            SingleTaskSettingsWindowModel model = test::singleTaskWindow(h);
                            model.Form_Load();
                            SingleTaskSettingsWindowView view(model, &main);
                            view.show();
                            waitUntilFramed(view);
                            act(view);
                            model.OK_BUTTON.click();
                        });
                    }}};
    for (std::size_t m = 0; m < std::size(managers); ++m) {
        const char* successor = managers[(m + 1) % std::size(managers)];
        if (QStandardPaths::findExecutable(QLatin1String(managers[m])).isEmpty()) {
            std::fprintf(stderr, "[  SKIPPED ] %s: not installed\n", managers[m]);
            continue;
        }
        for (const auto& win : windows) {
            ASSERT_TRUE(replaceWindowManager(managers[m])) << managers[m];
            // Qt's place of the button and of the frame against the X server's.
            const auto agrees = [&](const char* placement, const QWidget& w) {
                const auto* b = w.findChild<QPushButton*>(QLatin1String(win.button));
                const QPoint server = ServerView().clientTopLeft(w) + b->mapTo(&w, b->rect().center());
                EXPECT_EQ(b->mapToGlobal(b->rect().center()), server)
                    << managers[m] << " " << win.prefix << " " << placement;
                EXPECT_EQ(w.frameGeometry().topLeft(), frameOf(w).topLeft())
                    << managers[m] << " " << win.prefix << " " << placement;
            };
            test::Harness first, again;
            QPoint left;
            win.open(first, [&](QWidget& w) {
                agrees("first show", w);
                const QPoint to = frameOf(w).topLeft() + QPoint(-50, 40);
                ServerView().moveFrame(w, to);
                waitUntil([&] { return frameOf(w).topLeft() == to; });
                QTest::qWait(400);
                agrees("moved by the user", w);
                left = frameOf(w).topLeft();
            });
            for (const char* edge : {"-Left", "-Top"}) {
                const QString key = QLatin1String(win.prefix) + QLatin1String(edge);
                again.seed(key, first.stored(key));
            }
            win.open(again, [&](QWidget& w) {
                EXPECT_EQ(frameOf(w).topLeft(), left) << managers[m] << " " << win.prefix << " reopened elsewhere";
                agrees("reopened at its stored place", w);
                if (!QStandardPaths::findExecutable(QLatin1String(successor)).isEmpty() &&
                    replaceWindowManager(successor))
                    agrees("framed anew by another window manager", w);
            });
        }
    }
    replaceWindowManager(qPrintable(test::XSession::defaultWindowManager()));
}

} // namespace
} // namespace zb
