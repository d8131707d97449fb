// Every window fits a small screen: 1024x768, and 1280x720 with a large
// font, in light, dark and Adwaita themes and in Japanese; 1920x1080 at 150 %
// is the same 1280x720 in the units windows are laid out in. The suite runs
// once per screen size and takes the setups of its screen. On the same walk,
// every control a user can reach says what it is, as a screen reader hears it.
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
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>
#include <memory>
#include <optional>

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

// Contents a scroll area holds are reached by scrolling: not clipped.
bool scrolled(const QWidget* w, const QWidget* window)
{
    for (const QWidget* p = w->parentWidget(); p != nullptr && p != window; p = p->parentWidget())
        if (qobject_cast<const QScrollArea*>(p) != nullptr)
            return true;
    return false;
}

// No control is cut: each has at least the room it asks for and lies inside
// its window, and the buttons that end a window are on the screen.
void expectNothingClipped(QWidget* window)
{
    const QRect screen = window->screen()->availableGeometry();
    for (QWidget* w : window->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QAbstractButton*>(w) != nullptr || qobject_cast<QLineEdit*>(w) != nullptr ||
                             qobject_cast<QLabel*>(w) != nullptr;
        if (!control || !w->isVisibleTo(window) || w->window() != window)
            continue;
        const std::string where = describe(window, window->size()) + " " + w->objectName().toStdString();
        // A field's own wish is generic; a caption's is its text. A size set
        // on purpose (a square icon button) stands.
        if (qobject_cast<QLineEdit*>(w) == nullptr) {
            const QSize least = w->minimumSize().expandedTo(w->minimumSizeHint()).boundedTo(w->maximumSize());
            EXPECT_TRUE(w->width() >= least.width() && w->height() >= least.height())
                << where << " " << describe(w, w->size()) << " < " << describe(w, least);
        }
        const QRect inWindow(w->mapTo(window, QPoint(0, 0)), w->size());
        if (!scrolled(w, window)) {
            EXPECT_TRUE(window->rect().contains(inWindow)) << where;
        }
        if (QByteArrayList{"OK_BUTTON", "SAVE_BUTTON", "CANCEL_BUTTON", "CLOSE_BUTTON"}.contains(
                w->objectName().toLatin1())) {
            EXPECT_FALSE(scrolled(w, window)) << where << " scrolls out of reach";
            EXPECT_TRUE(screen.contains(QRect(w->mapToGlobal(QPoint(0, 0)), w->size()))) << where << " off screen";
        }
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

// One setup a user may have: a screen, a system font, a style and a language.
struct Desktop {
    const char* name;
    QSize screen;
    int points; // 0: the default font
    const char* style;
    bool darkPalette;
    bool japanese;
};

const Desktop kDesktops[] = {
    {"Small", {1280, 720}, 0, "Fusion", false, false},
    {"SmallLargeFont", {1280, 720}, 14, "Fusion", false, false},
    {"SmallLargeFontDark", {1280, 720}, 14, "Fusion", true, false},
    {"SmallLargeFontAdwaita", {1280, 720}, 14, "Adwaita", false, false},
    {"SmallLargeFontAdwaitaDark", {1280, 720}, 14, "Adwaita-Dark", false, false},
    {"SmallLargeFontJapanese", {1280, 720}, 14, "Fusion", false, true},
    {"Xga", {1024, 768}, 0, "Fusion", false, false},
    {"XgaDark", {1024, 768}, 0, "Fusion", true, false},
    {"XgaAdwaita", {1024, 768}, 0, "Adwaita", false, false},
    {"XgaAdwaitaDark", {1024, 768}, 0, "Adwaita-Dark", false, false},
    {"XgaJapanese", {1024, 768}, 0, "Fusion", false, true},
};

void PrintTo(const Desktop& d, std::ostream* out) { *out << d.name; }

// A Japanese desktop's font: the CJK font fontconfig falls back to.
constexpr const char* kJapaneseFont = "IPAGothic";

class ScreenFit : public ::testing::TestWithParam<Desktop> {};

TEST_P(ScreenFit, EveryWindowFitsWithAllItsControlsAndNamesThem)
{
    const Desktop& setup = GetParam();
    if (QGuiApplication::primaryScreen()->geometry().size() != setup.screen)
        GTEST_SKIP() << "a setup of the run on a " << setup.screen.width() << "x" << setup.screen.height() << " screen";
    QStyle* style = QStyleFactory::create(QString::fromLatin1(setup.style));
    if (style == nullptr)
        GTEST_SKIP() << "style " << setup.style << " is not installed (scripts/deps.sh installs it)";
    if (setup.japanese && !QFontDatabase::hasFamily(QString::fromLatin1(kJapaneseFont)))
        GTEST_SKIP() << kJapaneseFont << " is not installed (scripts/deps.sh installs it)";
    const QString oldStyle = QApplication::style()->name();
    QApplication::setStyle(style);
    std::optional<test::ScopedPalette> palette;
    if (setup.darkPalette)
        palette.emplace(test::darkPalette());
    QFont font = QApplication::font();
    if (setup.japanese)
        font.setFamilies({QString::fromLatin1(kJapaneseFont)});
    if (setup.points > 0)
        font.setPointSize(setup.points);
    test::ScopedFont scopedFont(font);
    const QLocale oldLocale;
    if (setup.japanese)
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));

    test::Harness h;
    FakeCrontab crontab;
    Program program(Services{h.clock, h.store, h.exe, h.launcher, h.processes, h.folders, h.fileDialog, h.files,
                             h.shell, &crontab});
    program.start();
    {
        MainWindowView main(program.main);
        main.applyGeometry();
        main.show();
        QApplication::processEvents();
        // The main window fits the plain small screen; it has setups of its own.
        if (setup.points == 0 && !setup.japanese && setup.screen == QSize(1280, 720))
            expectFits(&main);
        expectSpeaks(&main);

        DialogWindowOpener opener(program, &main);
        QStringList measured;
        const auto measure = [&](QWidget* w) {
            QApplication::processEvents();
            // Enter confirms: OK, Save or Close is the default, alone.
            QStringList defaults;
            for (const QPushButton* b : w->findChildren<QPushButton*>())
                if (b->isDefault())
                    defaults << b->objectName();
            const QByteArrayList confirming{"OK_BUTTON", "SAVE_BUTTON", "CLOSE_BUTTON"};
            EXPECT_TRUE(defaults.size() == 1 && confirming.contains(defaults[0].toLatin1()))
                << w->objectName().toStdString() << ": " << defaults.join(QLatin1Char(' ')).toStdString();
            expectFits(w);
            expectNothingClipped(w);
            expectSpeaks(w);
            measured << w->objectName();
        };
        for (WindowKind kind :
             {WindowKind::MainSettings, WindowKind::ManageTasks, WindowKind::SingleTaskSettings,
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
    QLocale::setDefault(oldLocale);
    QApplication::setStyle(oldStyle);
}

INSTANTIATE_TEST_SUITE_P(Setups, ScreenFit, ::testing::ValuesIn(kDesktops),
                         [](const ::testing::TestParamInfo<Desktop>& row) { return row.param.name; });

} // namespace
} // namespace zb
