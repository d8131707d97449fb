// Every window fits a small screen: 1280x720, and 1920x1080 at 150 % (the
// same 1280x720 in the units windows are laid out in). The suite runs on a
// screen of that size. On the same walk, every control a user can reach says
// what it is, as a screen reader hears it.
#include "app/DialogWindowOpener.h"
#include "platform/fake/FakeCrontab.h"
#include "tests/support/Harness.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/MainWindowView.h"

#include <QAccessible>
#include <QLabel>
#include <QScreen>

namespace zb {
namespace {

using test::child;

// What a window may take of the screen: a desktop's panel and the window
// manager's title bar and borders take the rest.
constexpr int kPanel = 32;
constexpr int kTitleBar = 32;
constexpr int kBorder = 8;

QSize roomOnScreen()
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    return {screen.width() - 2 * kBorder, screen.height() - kPanel - kTitleBar - kBorder};
}

std::string describe(const QWidget* w, const QSize& size)
{
    return w->objectName().toStdString() + " " + std::to_string(size.width()) + "x" + std::to_string(size.height());
}

// A window fits when it can be made that small, and opens no larger.
void expectFits(QWidget* window)
{
    const QSize room = roomOnScreen();
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    EXPECT_LE(least.width(), room.width()) << describe(window, least);
    EXPECT_LE(least.height(), room.height()) << describe(window, least);
    EXPECT_LE(window->width(), room.width()) << describe(window, window->size());
    EXPECT_LE(window->height(), room.height()) << describe(window, window->size());
}

// Where the focus starts: on the first field a user fills.
const QHash<QString, QString> kFirstFocus{
    {QStringLiteral("ZB_SEQUENTA_SINGLE_SETTINGS_WINDOW"), QStringLiteral("TASK_1_NAME_TEXTBOX")},
    {QStringLiteral("ZB_SEQUENTA_SETTINGS"), QStringLiteral("TASK_1_NAME_TEXTBOX")},
    {QStringLiteral("ZB_SEQUENTA_SCHEDULER_WINDOW"), QStringLiteral("TASK_RUN_TIME_TEXTBOX")},
    {QStringLiteral("ZB_SEQUENTA_EMAIL_MAIN_SETTINGS"), QStringLiteral("SMTP_SERVER_ADDRESS_PORT_TEXTBOX")},
    {QStringLiteral("ZB_SEQUENTA_EMAIL_SHARED_SETTINGS"), QStringLiteral("SMTP_SERVER_ADDRESS_PORT_TEXTBOX")},
    {QStringLiteral("ZB_SEQUENTA_MANAGE_TASKS_WINDOW"), QStringLiteral("TASK_1_ENABLE_TICKBOX")},
    {QStringLiteral("ZB_SEQUENTA_MAIN"), QStringLiteral("MAIN_START_STOP_BUTTON")},
};

// Every control that takes the focus has a name of its own in its window,
// without the "&" of a mnemonic, and no two share an Alt key; OK, Save and
// Cancel have one. A label says its text.
void expectSpeaks(QWidget* window)
{
    if (kFirstFocus.contains(window->objectName())) {
        EXPECT_EQ(window->focusWidget() != nullptr ? window->focusWidget()->objectName() : QString(),
                  kFirstFocus.value(window->objectName()));
    }
    QHash<QString, QString> owners;
    QHash<QString, QString> keys;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window) || w->window() != window ||
            qobject_cast<QLabel*>(w) != nullptr)
            continue;
        QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(w);
        const QString name = spoken != nullptr ? spoken->text(QAccessible::Name) : QString();
        const std::string where = window->objectName().toStdString() + " " + w->objectName().toStdString() + " " +
                                  w->metaObject()->className();
        EXPECT_FALSE(name.trimmed().isEmpty()) << where;
        EXPECT_FALSE(name.contains(QLatin1Char('&'))) << where << " " << name.toStdString();
        if (name.isEmpty())
            continue;
        EXPECT_FALSE(owners.contains(name))
            << where << " and " << owners.value(name).toStdString() << ": " << name.toStdString();
        owners.insert(name, w->objectName());
        const QString key = spoken->text(QAccessible::Accelerator);
        if (QByteArrayList{"OK_BUTTON", "SAVE_BUTTON", "CANCEL_BUTTON"}.contains(w->objectName().toLatin1())) {
            EXPECT_FALSE(key.isEmpty()) << where;
        }
        EXPECT_TRUE(key.isEmpty() || !keys.contains(key)) << where << " and " << keys.value(key).toStdString();
        keys.insert(key, w->objectName());
    }
}

TEST(ScreenFit, EveryWindowFitsWithAllItsControlsAndNamesThem)
{
    // On a larger screen every window would pass.
    ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(1280, 720));
    test::Harness h;
    FakeCrontab crontab;
    Program program(Services{h.clock, h.store, h.exe, h.launcher, h.processes, h.folders, h.fileDialog, h.files,
                             h.shell, &crontab});
    program.start();
    MainWindowView main(program.main);
    main.applyGeometry();
    main.show();
    QApplication::processEvents();
    expectFits(&main);
    expectSpeaks(&main);

    DialogWindowOpener opener(program, &main);
    QStringList measured;
    const auto measure = [&](QWidget* w) {
        QApplication::processEvents();
        expectFits(w);
        expectSpeaks(w);
        measured << w->objectName();
    };
    for (WindowKind kind : {WindowKind::MainSettings, WindowKind::ManageTasks, WindowKind::SingleTaskSettings,
                            WindowKind::AllTaskSettings, WindowKind::EmailOutputCommands, WindowKind::SchedulerSettings,
                            WindowKind::About, WindowKind::Donations, WindowKind::History}) {
        test::onNextModal([&](QWidget* w) {
            measure(w);
            w->close();
        });
        opener.showModal(kind);
    }
    // The shared e-mail settings open from the e-mail window only.
    test::onNextModal([&](QWidget* email) {
        measure(email);
        test::onNextModal([&](QWidget* shared) {
            measure(shared);
            shared->close();
        });
        opener.showModal(WindowKind::EmailSharedSettings);
        email->close();
    });
    opener.showModal(WindowKind::EmailSettings);
    EXPECT_EQ(measured.size(), 11) << measured.join(QLatin1Char(' ')).toStdString();
}

} // namespace
} // namespace zb
