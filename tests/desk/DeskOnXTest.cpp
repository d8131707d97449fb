// The desk on a real X server (a private Xvfb with openbox): lock keys
// through Xkb and XTest, idle time through the MIT-SCREEN-SAVER extension,
// window stacking through the window manager.
#include "DeskProgram.h"
#include "platform/fake/SimulatedClock.h"
#include "platform/qt/QtTimerHost.h"

#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <tuple>

#include <X11/Xlib.h>

#include "platform/linux/X11Keyboard.h"
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/scrnsaver.h>
#include <X11/keysym.h>

namespace zb {
namespace {

using test::DeskProgram;

// A second client of the same server that looks at it as another program
// would, and types on its keyboard.
class Observer {
public:
    Observer() : d(XOpenDisplay(nullptr)) {}
    ~Observer()
    {
        if (d != nullptr)
            XCloseDisplay(d);
    }

    bool lockOn(const char* indicator)
    {
        Bool on = False;
        int index = -1;
        XkbGetNamedIndicator(d, XInternAtom(d, indicator, False), &index, &on, nullptr, nullptr);
        return on != False;
    }
    void press(KeySym key)
    {
        const KeyCode code = XKeysymToKeycode(d, key);
        XTestFakeKeyEvent(d, code, True, CurrentTime);
        XTestFakeKeyEvent(d, code, False, CurrentTime);
        XSync(d, False);
    }
    unsigned long idleMs()
    {
        XScreenSaverInfo* info = XScreenSaverAllocInfo();
        XScreenSaverQueryInfo(d, DefaultRootWindow(d), info);
        const unsigned long idle = info->idle;
        XFree(info);
        return idle;
    }

    QList<Atom> atoms(Window w, const char* property)
    {
        QList<Atom> out;
        Atom type = None;
        int format = 0;
        unsigned long n = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(d, w, XInternAtom(d, property, False), 0, 64, False, AnyPropertyType, &type, &format, &n,
                               &after, &data) == Success &&
            data != nullptr && format == 32) {
            const auto* items = reinterpret_cast<const unsigned long*>(data);
            for (unsigned long i = 0; i < n; ++i)
                out << static_cast<Atom>(items[i]);
        }
        if (data != nullptr)
            XFree(data);
        return out;
    }
    bool above(Window w) { return atoms(w, "_NET_WM_STATE").contains(XInternAtom(d, "_NET_WM_STATE_ABOVE", False)); }
    Window active()
    {
        const QList<Atom> a = atoms(DefaultRootWindow(d), "_NET_ACTIVE_WINDOW");
        return a.isEmpty() ? None : static_cast<Window>(a.first());
    }
    // Whether a's frame lies over b's on the screen, as the user sees them:
    // the stacking list some window managers publish lags behind.
    bool over(Window a, Window b)
    {
        Window root = None, parent = None, *frames = nullptr;
        unsigned n = 0;
        XQueryTree(d, DefaultRootWindow(d), &root, &parent, &frames, &n);
        const QList<Window> bottomUp(frames, frames + n);
        XFree(frames);
        // Up from a window to the frame on the root window that holds it.
        const auto place = [&](Window w) {
            Window* children = nullptr;
            while (w != None && !bottomUp.contains(w) && XQueryTree(d, w, &root, &w, &children, &n) != 0)
                XFree(children);
            return bottomUp.indexOf(w);
        };
        const qsizetype under = place(b);
        return under >= 0 && place(a) > under;
    }
    // Asks the window manager, as a pager would.
    void sendToRoot(Window w, const char* message, long l0, long l1)
    {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w;
        e.xclient.message_type = XInternAtom(d, message, False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = l0;
        e.xclient.data.l[1] = l1;
        e.xclient.data.l[3] = 2;
        XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        XSync(d, False);
    }

    Display* d;
};

QColor base(QWidget* w) { return w->palette().color(QPalette::Base); }
const QColor kGreen(0, 255, 0);

TEST(DeskOnX, LockLightsFollowTheKeyboardAndADoubleClickOnNPressesNumLock)
{
    Observer x;
    ASSERT_NE(x.d, nullptr);
    QtTimerHost timers;
    DeskProgram p(timers);
    p.start();
    MainWindowView& view = p.show();
    auto* num = view.findChild<QLineEdit*>(QStringLiteral("VERT_NUM_LIGHT_LABEL"));
    auto* caps = view.findChild<QLineEdit*>(QStringLiteral("VERT_CAPS_LIGHT_LABEL"));
    ASSERT_TRUE(num && caps);
    // The window's first frame already shows the keyboard, not a grey light.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    ASSERT_EQ(base(num), QColor(255, 0, 0)) << "Num Lock starts off";
    EXPECT_TRUE(num->isReadOnly());

    // The refresh runs every 100 ms; the rest of the allowance is for a busy
    // machine.
    for (auto [key, light, name] : {std::tuple{XK_Num_Lock, num, "Num"}, std::tuple{XK_Caps_Lock, caps, "Caps"}}) {
        x.press(key);
        QElapsedTimer shown;
        shown.start();
        EXPECT_TRUE(QTest::qWaitFor([&] { return base(light) == kGreen; }, 2000)) << name;
        EXPECT_LE(shown.elapsed(), 250) << name;
        EXPECT_EQ(light->toolTip(), QString::fromLatin1(name).toUpper() + QStringLiteral(" LOCK = ON"));
    }

    QTest::mouseDClick(num, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !x.lockOn("Num Lock"); }, 2000)) << "the server's Num Lock flipped";
    EXPECT_TRUE(QTest::qWaitFor([&] { return base(num) == QColor(255, 0, 0); }, 2000));
    EXPECT_TRUE(x.lockOn("Caps Lock"));

    // The standard keymap binds no lock to Scroll Lock: its light is the lock.
    auto* scroll = view.findChild<QLineEdit*>(QStringLiteral("VERT_SCROLL_LIGHT_LABEL"));
    ASSERT_TRUE(p.desk.keyboard->canPress(LockKey::Scroll)) << qPrintable(scroll->toolTip());
    for (const bool on : {true, false}) {
        QTest::mouseDClick(scroll, Qt::LeftButton);
        EXPECT_TRUE(QTest::qWaitFor([&] { return x.lockOn("Scroll Lock") == on; }, 2000)) << on;
        EXPECT_TRUE(QTest::qWaitFor([&] { return base(scroll) == (on ? kGreen : QColor(255, 0, 0)); }, 2000)) << on;
    }
}

TEST(DeskOnX, TheHeartbeatsPressPairResetsTheIdleTimeAndLeavesNumLockAsItWas)
{
    Observer x;
    ASSERT_NE(x.d, nullptr);
    SimulatedClock clock;
    DeskProgram p(clock);
    MainWindowModel& m = p.start();
    ASSERT_TRUE(p.desk.keyboard->canPress());
    m.KITT_START_BUTTON.click();
    clock.advance(301000);
    ASSERT_TRUE(m.NUMLOCK_TIMER_1.enabled());

    const bool before = x.lockOn("Num Lock");
    QTest::qWait(1200);
    ASSERT_GE(x.idleMs(), 1000UL);
    clock.advance(750);
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.lockOn("Num Lock") != before; }, 2000)) << "first press";
    EXPECT_LT(x.idleMs(), 1000UL) << "the press counts as the user's input";
    clock.advance(750);
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.lockOn("Num Lock") == before; }, 2000)) << "second press";
    EXPECT_FALSE(m.NUMLOCK_TIMER_2.enabled());

    // The program ends between the presses of the next pair.
    clock.advance(301000 - 750);
    ASSERT_TRUE(m.NUMLOCK_TIMER_2.enabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.lockOn("Num Lock") != before; }, 2000));
    p.program.reset();
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.lockOn("Num Lock") == before; }, 2000)) << "the pending press is sent";
}

TEST(DeskOnX, AnotherProgramsActiveWindowIsDemotedWhileOursStaysAbove)
{
    Observer x;
    ASSERT_NE(x.d, nullptr);
    QtTimerHost timers;
    DeskProgram p(timers);
    MainWindowModel& m = p.start();
    ASSERT_TRUE(m.AlwaysOnTopTimer.enabled());
    MainWindowView& view = p.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const Window ours = static_cast<Window>(view.winId());

    // Another program, put above and activated as a user would.
    QProcess other;
    other.start(QStringLiteral("xmessage"),
                {QStringLiteral("-name"), QStringLiteral("other"), QStringLiteral("another program")});
    ASSERT_TRUE(other.waitForStarted());
    Window theirs = None;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (Atom w : x.atoms(DefaultRootWindow(x.d), "_NET_CLIENT_LIST"))
                if (w != ours)
                    theirs = static_cast<Window>(w);
            return theirs != None;
        },
        5000));
    x.sendToRoot(theirs, "_NET_WM_STATE", 1, static_cast<long>(XInternAtom(x.d, "_NET_WM_STATE_ABOVE", False)));
    x.sendToRoot(theirs, "_NET_ACTIVE_WINDOW", 2, CurrentTime);
    QElapsedTimer demoted;
    demoted.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return x.active() == theirs; }, 3000));

    // Ours is above, and stays there while another window has the foreground.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !x.above(theirs) && x.above(ours); }, 3000));
    EXPECT_LE(demoted.elapsed(), 1500) << "within about a second";

    // Our own modal editor keeps the foreground and its place above the
    // main window.
    {
        QDialog editor(&view);
        editor.setWindowTitle(QStringLiteral("editor"));
        editor.setModal(true);
        editor.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
        const Window editorId = static_cast<Window>(editor.winId());
        EXPECT_TRUE(p.desk.stacking->isOwnWindow(editorId));
        QTest::qWait(1500);
        EXPECT_EQ(x.active(), editorId);
        EXPECT_TRUE(x.over(editorId, ours)) << "the editor stays above the main window";
        EXPECT_FALSE(p.desk.stacking->isOwnWindow(theirs));
    }

    // Clearing the tick stops the enforcing and takes ours off the top at once.
    QTest::mouseClick(view.findChild<QCheckBox*>(QStringLiteral("AlwaysOnTopTimer_TICKBOX")), Qt::LeftButton);
    ASSERT_FALSE(m.AlwaysOnTopTimer.enabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !x.above(ours); }, 3000));
    x.sendToRoot(theirs, "_NET_ACTIVE_WINDOW", 2, CurrentTime);
    EXPECT_TRUE(QTest::qWaitFor([&] { return x.over(theirs, ours); }, 3000)) << "another window comes over ours";
    x.sendToRoot(theirs, "_NET_WM_STATE", 1, static_cast<long>(XInternAtom(x.d, "_NET_WM_STATE_ABOVE", False)));
    QTest::qWait(1000);
    EXPECT_TRUE(x.above(theirs)) << "no longer demoted";
    other.kill();
    other.waitForFinished();
}

TEST(DeskOnX, UnderXWaylandKeyPressesAreNotAvailable)
{
    const QStringList core{QStringLiteral("Virtual core pointer"), QStringLiteral("Virtual core keyboard")};
    const QString xvfb = QStringLiteral("Xvfb"), shell = QStringLiteral("gnome-shell");
    const struct {
        X11Keyboard::ServerSigns signs;
        bool xwayland;
    } cases[] = {
        {{false, core, xvfb, false}, false},
        {{true, core, {}, false}, true}, // newer XWayland names itself
        {{false, core + QStringList{QStringLiteral("xwayland-keyboard:13")}, {}, false}, true},
        {{false, core + QStringList{QStringLiteral("AT Translated Set 2 keyboard")}, QStringLiteral("Xorg"), false},
         false},
        // Without devices: by the program that serves the socket.
        {{false, core, QStringLiteral("Xwayland"), true}, true},
        {{false, core, shell, true}, true}, // made the socket, starts XWayland on demand
        {{false, core, shell, false}, false},
        {{false, core, xvfb, true}, false}, // an X server of its own inside a Wayland session
        {{false, core, {}, true}, false},   // remote: nothing to go by
    };
    for (const auto& c : cases)
        EXPECT_EQ(X11Keyboard::isXWayland(c.signs), c.xwayland)
            << qPrintable(c.signs.inputDevices.join(u',') + u' ' + c.signs.serverProgram);

    // This X server is no XWayland: its keys can be pressed, once the
    // keyboard has looked at it.
    QtTimerHost timers;
    DeskProgram p(timers);
    QCoreApplication::processEvents();
    EXPECT_TRUE(p.desk.keyboard->canPress());
}

// A copy of the program under its own name, with its own settings.
class ProgramCopy {
public:
    ProgramCopy(const QString& folder, const QString& name)
    {
        const QString exe = folder + QLatin1Char('/') + name;
        QFile::link(QStringLiteral(ZB_PROGRAM_PATH), exe);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config-") + name);
        env.insert(QStringLiteral("XDG_STATE_HOME"), folder + QStringLiteral("/state-") + name);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder); // its name is free here
        process.setProcessEnvironment(env);
        process.start(exe, {});
    }
    ~ProgramCopy()
    {
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
    }
    QProcess process;
};

TEST(DeskOnX, TwoCopiesWithAlwaysOnTopStayAboveTogether)
{
    Observer x;
    ASSERT_NE(x.d, nullptr);
    QTemporaryDir folder;
    ProgramCopy first(folder.path(), QStringLiteral("copy-one"));
    ProgramCopy second(folder.path(), QStringLiteral("copy-two"));
    QList<Window> windows;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            windows = x.atoms(DefaultRootWindow(x.d), "_NET_CLIENT_LIST");
            return windows.size() == 2;
        },
        15000));
    // Each puts itself above as soon as it has the foreground itself.
    for (const Window w : {windows[0], windows[1]}) {
        x.sendToRoot(w, "_NET_ACTIVE_WINDOW", 2, CurrentTime);
        ASSERT_TRUE(QTest::qWaitFor([&] { return x.active() == w && x.above(w); }, 3000));
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return x.above(windows[0]) && x.above(windows[1]); }, 3000))
        << x.above(windows[0]) << x.above(windows[1]) << " active " << x.active() << " " << windows[0] << " "
        << windows[1];

    // Whichever the user activates is on top and stays above, and so does the
    // other.
    for (const Window w : {windows[0], windows[1]}) {
        const Window other = w == windows[0] ? windows[1] : windows[0];
        x.sendToRoot(w, "_NET_ACTIVE_WINDOW", 2, CurrentTime);
        ASSERT_TRUE(QTest::qWaitFor([&] { return x.active() == w; }, 3000));
        EXPECT_TRUE(QTest::qWaitFor([&] { return x.over(w, other); }, 3000));
        for (int i = 0; i < 15; ++i) {
            QTest::qWait(100);
            ASSERT_TRUE(x.above(windows[0]) && x.above(windows[1])) << "demoted after " << (i + 1) * 100 << " ms";
        }
    }
}

} // namespace
} // namespace zb
