// Every window fits a small screen: 1024x768, and 1280x720 with a 14 pt font,
// in light, dark and Adwaita themes and with a Japanese font; 1920x1080 at
// 150 % is the same 1280x720 in the units windows are laid out in. The suite
// runs once per screen size and takes the desktops of its screen. On the same
// walk, every control a user can reach says what it is, as a screen reader
// hears it.
#include "app/DialogWindowOpener.h"
#include "platform/fake/FakeCrontab.h"
#include "tests/support/Harness.h"
#include "tests/ui/ThemeSupport.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/MainWindowView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QFontDatabase>
#include <QLabel>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>

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

// No caption is cut: it has the room it asks for (a size set on purpose
// stands), and it lies inside its window unless it scrolls. The buttons that
// end a window never scroll and are on the screen.
void expectNothingClipped(QWidget* window)
{
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if ((qobject_cast<QAbstractButton*>(w) == nullptr && qobject_cast<QLabel*>(w) == nullptr) ||
            !w->isVisibleTo(window) || w->window() != window)
            continue;
        const std::string where = describe(window, window->size()) + " " + describe(w, w->size());
        const QSize least = w->minimumSize().expandedTo(w->minimumSizeHint()).boundedTo(w->maximumSize());
        EXPECT_TRUE(w->width() >= least.width() && w->height() >= least.height()) << where;
        bool scrolls = false; // what a scroll area holds is reached by scrolling
        for (const QWidget* p = w->parentWidget(); p != window; p = p->parentWidget())
            scrolls = scrolls || qobject_cast<const QScrollArea*>(p) != nullptr;
        EXPECT_TRUE(scrolls || window->rect().contains(QRect(w->mapTo(window, QPoint()), w->size()))) << where;
        const bool ending = QByteArrayList{"OK_BUTTON", "SAVE_BUTTON", "CANCEL_BUTTON", "CLOSE_BUTTON"}.contains(
            w->objectName().toLatin1());
        const QRect onScreen(w->mapToGlobal(QPoint()), w->size());
        EXPECT_TRUE(!ending || (!scrolls && window->screen()->availableGeometry().contains(onScreen))) << where;
    }
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

// A desktop a user may have: a screen, a system font, a style, a palette.
struct Desktop {
    const char* name;
    QSize screen;
    int points; // 0: the default size
    const char* style;
    bool darkPalette;
    const char* family; // a Japanese font (IPAGothic), or the default one
};

const Desktop kDesktops[] = {
    {"Small", {1280, 720}, 0, "Fusion", false, nullptr},
    {"SmallLargeFont", {1280, 720}, 14, "Fusion", false, nullptr},
    {"SmallLargeFontDark", {1280, 720}, 14, "Fusion", true, nullptr},
    {"SmallLargeFontAdwaita", {1280, 720}, 14, "Adwaita", false, nullptr},
    {"SmallLargeFontAdwaitaDark", {1280, 720}, 14, "Adwaita-Dark", false, nullptr},
    {"SmallLargeFontJapanese", {1280, 720}, 14, "Fusion", false, "IPAGothic"},
    {"Xga", {1024, 768}, 0, "Fusion", false, nullptr},
    {"XgaDark", {1024, 768}, 0, "Fusion", true, nullptr},
    {"XgaAdwaita", {1024, 768}, 0, "Adwaita", false, nullptr},
    {"XgaJapanese", {1024, 768}, 0, "Fusion", false, "IPAGothic"},
};
void PrintTo(const Desktop& d, std::ostream* out) { *out << d.name; }

class ScreenFit : public ::testing::TestWithParam<Desktop> {};

TEST_P(ScreenFit, EveryWindowFitsWithAllItsControlsAndNamesThem)
{
    const Desktop& d = GetParam();
    if (QGuiApplication::primaryScreen()->geometry().size() != d.screen)
        GTEST_SKIP() << "a desktop of the run on a " << d.screen.width() << "x" << d.screen.height() << " screen";
    QStyle* style = QStyleFactory::create(QString::fromLatin1(d.style));
    if (style == nullptr || (d.family != nullptr && !QFontDatabase::hasFamily(QString::fromLatin1(d.family))))
        GTEST_SKIP() << d.style << " or " << (d.family ? d.family : "") << " missing: scripts/deps.sh installs them";
    const auto restoreStyle = qScopeGuard([old = QApplication::style()->name()] { QApplication::setStyle(old); });
    QApplication::setStyle(style);
    test::ScopedPalette palette(d.darkPalette ? test::darkPalette() : QApplication::palette());
    QFont font = QApplication::font();
    if (d.family != nullptr)
        font.setFamilies({QString::fromLatin1(d.family)});
    if (d.points > 0)
        font.setPointSize(d.points);
    test::ScopedFont scopedFont(font);
    test::Harness h;
    FakeCrontab crontab;
    Program program(Services{h.clock, h.store, h.exe, h.launcher, h.processes, h.folders, h.fileDialog, h.files,
                             h.shell, &crontab});
    program.start();
    MainWindowView main(program.main);
    main.applyGeometry();
    main.show();
    QApplication::processEvents();
    // The main window fits the plain small screen; larger fonts are its own matter.
    if (d.points == 0 && d.family == nullptr && d.screen == QSize(1280, 720))
        expectFits(&main);
    expectSpeaks(&main);

    DialogWindowOpener opener(program, &main);
    QStringList measured;
    const auto measure = [&](QWidget* w) {
        QApplication::processEvents();
        expectFits(w);
        expectNothingClipped(w);
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

INSTANTIATE_TEST_SUITE_P(Desktops, ScreenFit, ::testing::ValuesIn(kDesktops),
                         [](const ::testing::TestParamInfo<Desktop>& row) { return row.param.name; });

} // namespace
} // namespace zb
