#include "app/DialogWindowOpener.h"
#include "platform/qt/QtTimerHost.h"
#include "tests/support/Harness.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/MainWindowView.h"

#include <QPushButton>

namespace zb {
namespace {

using test::child;

// Drives the real dialogs from the main window's buttons and records, for
// each window that opens, "window < owner".
class DialogWindowOpenerTest : public ::testing::Test {
protected:
    DialogWindowOpenerTest() : program(h.start()), mainView(program.main), opener(program, &mainView)
    {
        program.main.setWindowOpener(&opener);
        mainView.show();
    }
    ~DialogWindowOpenerTest() override { program.main.setWindowOpener(nullptr); }

    void record(const QWidget* w) { seen << w->objectName() + QStringLiteral(" < ") + w->parentWidget()->objectName(); }
    // Opens the window behind `button` on `parent`, records it and closes it
    // with `closeWith`.
    void openFrom(QWidget& parent, const char* button, const char* closeWith)
    {
        test::onNextModal([this, closeWith](QWidget* w) {
            record(w);
            child<QPushButton>(*w, closeWith)->click();
        });
        child<QPushButton>(parent, button)->click();
    }
    // The same, but the window first opens its own `inner` one (closed with
    // `innerClose`) and is then closed by its close box.
    void openNestedFrom(QWidget& parent, const char* button, const char* inner, const char* innerClose)
    {
        test::onNextModal([this, inner, innerClose](QWidget* w) {
            record(w);
            openFrom(*w, inner, innerClose);
            w->close();
        });
        child<QPushButton>(parent, button)->click();
    }

    test::Harness h;
    Program& program;
    MainWindowView mainView;
    DialogWindowOpener opener;
    QStringList seen;
};

TEST_F(DialogWindowOpenerTest, EachWindowIsOwnedByTheWindowWhoseButtonOpenedIt)
{
    test::onNextModal([this](QWidget* settings) {
        record(settings);
        openNestedFrom(*settings, "VIEW_SINGLE_SETTINGS_BUTTON", "VIEW_ALL_SETTINGS_BUTTON", "CANCEL_BUTTON");
        openFrom(*settings, "MANAGE_TASKS_BUTTON", "OK_BUTTON");
        openNestedFrom(*settings, "ABOUT_BUTTON", "DONATIONS_BUTTON", "OK_BUTTON");
        child<QPushButton>(*settings, "OK_BUTTON")->click();
    });
    child<QPushButton>(mainView, "SETTINGS_BUTTON")->click();
    openFrom(mainView, "MANAGE_TASKS_BUTTON", "OK_BUTTON");

    EXPECT_EQ(seen, (QStringList{
                        QStringLiteral("ZB_SEQUENTA_MAIN_SETTINGS_WINDOW < ZB_SEQUENTA_MAIN"),
                        QStringLiteral("ZB_SEQUENTA_SINGLE_SETTINGS_WINDOW < ZB_SEQUENTA_MAIN_SETTINGS_WINDOW"),
                        QStringLiteral("ZB_SEQUENTA_SETTINGS < ZB_SEQUENTA_SINGLE_SETTINGS_WINDOW"),
                        QStringLiteral("ZB_SEQUENTA_MANAGE_TASKS_WINDOW < ZB_SEQUENTA_MAIN_SETTINGS_WINDOW"),
                        QStringLiteral("ZB_SEQUENTA_ABOUT < ZB_SEQUENTA_MAIN_SETTINGS_WINDOW"),
                        QStringLiteral("DONATIONS_WINDOW < ZB_SEQUENTA_ABOUT"),
                        QStringLiteral("ZB_SEQUENTA_MANAGE_TASKS_WINDOW < ZB_SEQUENTA_MAIN"),
                    }));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    for (const char* prefix :
         {"MAIN_SETTINGS", "SINGLE_SETTINGS", "SETTINGS", "MANAGE_TASKS_WINDOW", "ABOUT", "DONATIONS_WINDOW"})
        EXPECT_EQ(h.stored(QStringLiteral("%1-Left").arg(QLatin1String(prefix))), QStringLiteral("1000")) << prefix;
}

// With the real timers: the chain goes on while a settings window is open.
TEST(DialogWindowOpener, TheMainWindowsTimersKeepRunningWhileAWindowIsOpen)
{
    test::Harness h;
    QtTimerHost timers;
    Program program(
        Services{timers, h.store, h.exe, h.launcher, h.processes, h.folders, h.fileDialog, h.files, h.shell});
    program.start();
    MainWindowView mainView(program.main);
    DialogWindowOpener opener(program, &mainView);
    program.main.MAIN_START_STOP_BUTTON.click();

    QString statusWhileOpen;
    test::onNextModal([&](QWidget* settings) {
        QTimer::singleShot(1500, settings, [&, settings] {
            statusWhileOpen = program.main.CURRENT_STATUS_LABEL.caption();
            settings->close();
        });
    });
    opener.showModal(WindowKind::MainSettings);

    EXPECT_EQ(statusWhileOpen, QStringLiteral("SKIPPING TASK 1"));
}

} // namespace
} // namespace zb
