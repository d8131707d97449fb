// Opens the program's main window on whatever desktop the environment names
// and prints what its desk features tell the user, one line each, for tests
// that run it on desktops of their own (a Wayland compositor, XWayland).
#include "DeskProgram.h"
#include "platform/qt/QtTimerHost.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>

namespace {

void say(const char* what, const QString& text)
{
    std::printf("%s %s\n", what, qPrintable(QString(text).replace(QLatin1Char('\n'), QStringLiteral(" | "))));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zb::QtTimerHost timers;
    zb::test::DeskProgram p(timers);
    zb::MainWindowModel& m = p.start();
    p.show();
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    say("PLATFORM", QApplication::platformName());
    say("ALWAYS_ON_TOP",
        (m.AlwaysOnTopTimer_TICKBOX.enabled() ? QStringLiteral("enabled ") : QStringLiteral("disabled ")) +
            m.AlwaysOnTopTimer_TICKBOX.toolTip());
    say("NUM", m.VERT_NUM_LIGHT_LABEL.toolTip());
    say("HEARTBEAT", m.HEARTBEAT_COUNTDOWN_TEXTBOX.toolTip());
    std::fflush(stdout);
    return 0;
}
