// How the program shows itself: its own icon on every window, a second
// copy's notice where it is seen, and system messages in its language.
#include "ui/ProgramIdentity.h"
#include "platform/SingleInstance.h"
#include "platform/SystemServices.h"
#include "tests/support/Harness.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/MainWindowView.h"
#include "ui/SingleInstanceGuard.h"

#include <QFile>
#include <QMessageBox>
#include <QPainter>
#include <QSvgRenderer>
#include <cerrno>
#include <clocale>
#include <cstring>

namespace zb {
namespace {

TEST(ProgramIdentity, EveryWindowShowsTheProgramsIcon)
{
    applyProgramIdentity();
    test::Harness h;
    MainWindowView view(h.start().main);
    const QImage shown =
        view.windowIcon().pixmap(48, 48).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);

    // The icon the desktop entry names, as the installed file draws it.
    QFile file(QStringLiteral(ZB_ICON_FILE));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QSvgRenderer svg(file.readAll());
    QImage expected(48, 48, QImage::Format_ARGB32_Premultiplied);
    expected.fill(Qt::transparent);
    QPainter painter(&expected);
    svg.render(&painter);
    painter.end();
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("io.github.zbsequenta.ZBSequenta"));
}

// Another copy runs under the name.
class TakenName : public SingleInstance {
public:
    bool claim(const QString&) override { return false; }
    qint64 runningPid() const override { return 4242; }
    bool askRunningToActivate() override { return true; }
    void onActivationRequest(std::function<void()>) override {}
};

TEST(ProgramIdentity, ASecondCopysNoticeIsOnTopAndLeftToTheTerminalWhereThereIsOne)
{
    TakenName taken;
    // The program gives it no window where stderr is a terminal.
    for (bool withWindow : {true, false}) {
        QString seen = QStringLiteral("<no notice>");
        bool onTop = false;
        QTimer::singleShot(0, qApp, [&] {
            if (QWidget* notice = QApplication::activeModalWidget()) {
                seen = notice->objectName() + QStringLiteral(": ") + static_cast<QMessageBox*>(notice)->text();
                onTop = notice->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
                notice->close();
            }
        });
        EXPECT_FALSE(claimOrHandOver(taken, QStringLiteral("nightly"), withWindow));
        QApplication::processEvents(); // the timer, had no notice run its loop
        if (!withWindow) {
            EXPECT_EQ(seen, QStringLiteral("<no notice>"));
        } else {
            EXPECT_EQ(seen, QStringLiteral("ALREADY_RUNNING_MESSAGE: nightly is already running (pid 4242). "
                                           "Its window has been brought to the front."));
            EXPECT_TRUE(onTop);
        }
    }
}

TEST(ProgramIdentity, SystemMessagesSpeakTheProgramsLanguageWhateverTheLocale)
{
    // A user's locale that is not the plain C one, taken from the
    // environment as the application object takes it.
    const QByteArray oldAll = qgetenv("LC_ALL"), oldMessages = qgetenv("LC_MESSAGES"), oldLang = qgetenv("LANG");
    qunsetenv("LC_ALL");
    qunsetenv("LC_MESSAGES");
    qputenv("LANG", "C.UTF-8");
    std::setlocale(LC_ALL, "");
    ASSERT_STREQ(std::setlocale(LC_MESSAGES, nullptr), "C.UTF-8");

    // The messages of the system's library now come in English, and only
    // they: characters keep the user's locale.
    useProgramLanguageForSystemMessages();
    EXPECT_STREQ(std::setlocale(LC_MESSAGES, nullptr), "C");
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "C.UTF-8");
    EXPECT_STREQ(std::strerror(ENOENT), "No such file or directory");

    for (auto [name, value] : {std::pair{"LC_ALL", oldAll}, {"LC_MESSAGES", oldMessages}, {"LANG", oldLang}})
        value.isNull() ? qunsetenv(name) : qputenv(name, value);
    std::setlocale(LC_ALL, "");
}

} // namespace
} // namespace zb
