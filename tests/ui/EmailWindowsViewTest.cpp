#include "app/DialogWindowOpener.h"
#include "tests/mail/MailTestSupport.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/EmailMainSettingsWindowView.h"
#include "ui/MainWindowView.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace zb {
namespace {

using test::child;

TEST(EmailWindowsView, TheEmailWindowAndItsTwoChildrenOpenOwnedByTheirOpenersAndWorkTogether)
{
    test::Harness h;
    Program& program = h.start();
    MainWindowView mainView(program.main);
    DialogWindowOpener opener(program, &mainView);
    program.main.setWindowOpener(&opener);
    mainView.show();

    QStringList seen;
    const auto record = [&](const QWidget* w) {
        seen << w->objectName() + QStringLiteral(" < ") + w->parentWidget()->objectName();
    };
    QString copiedCc, shownPath;
    test::onNextModal([&](QWidget* settings) {
        test::onNextModal([&](QWidget* email) {
            record(email);
            test::onNextModal([&](QWidget* shared) {
                record(shared);
                auto* cc = child<QLineEdit>(*shared, "SEND_CC_ADDRESS_TEXTBOX");
                QTest::keyClicks(cc, QStringLiteral("cc@example.org"));
                child<QPushButton>(*shared, "USE_THESE_SHARED_SETTINGS_BUTTON")->click();
                child<QPushButton>(*shared, "CANCEL_BUTTON")->click();
            });
            child<QPushButton>(*email, "SHARED_SETTINGS_BUTTON")->click();
            copiedCc = child<QLineEdit>(*email, "SEND_CC_ADDRESS_TEXTBOX")->text();

            test::onNextModal([&](QWidget* commands) {
                record(commands);
                child<QPushButton>(*commands, "START_EMAIL_COMMAND_BUTTON")->click();
                shownPath = child<QLineEdit>(*commands, "ALL_LOCATIONS_TEXTBOX")->text();
                child<QPushButton>(*commands, "OK_BUTTON")->click();
            });
            child<QPushButton>(*email, "VIEW_OUTPUT_COMMANDS_BUTTON")->click();
            child<QPushButton>(*email, "CANCEL_BUTTON")->click();
        });
        auto* button = child<QPushButton>(*settings, "EMAIL_SETTINGS_BUTTON");
        EXPECT_TRUE(button->isEnabled());
        button->click();
        settings->close();
    });
    child<QPushButton>(mainView, "SETTINGS_BUTTON")->click();

    EXPECT_EQ(seen, (QStringList{
                        QStringLiteral("ZB_SEQUENTA_EMAIL_MAIN_SETTINGS < ZB_SEQUENTA_MAIN_SETTINGS_WINDOW"),
                        QStringLiteral("ZB_SEQUENTA_EMAIL_SHARED_SETTINGS < ZB_SEQUENTA_EMAIL_MAIN_SETTINGS"),
                        QStringLiteral("ZB_SEQUENTA_SINGLE_OUTPUT_COMMANDS_WINDOW < ZB_SEQUENTA_EMAIL_MAIN_SETTINGS"),
                    }));
    EXPECT_EQ(copiedCc, QStringLiteral("cc@example.org"));
    EXPECT_EQ(shownPath, QStringLiteral("/opt/zb/BATS/zb-sequenta-START-EMAIL.sh"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(h.stored(QStringLiteral("SEND_CC_ADDRESS_TEXTBOX")), QStringLiteral("<absent>")) << "both cancelled";
    program.main.setWindowOpener(nullptr);
}

TEST(EmailWindowsView, ThePasswordIsMaskedUntilShownAndAScriptThatCannotBeWrittenIsSaidInAMessageBox)
{
    test::Harness h;
    h.start();
    h.files.missingFolders.insert(QStringLiteral("/opt/zb/BATS"));
    auto model = test::emailMainWindow(h);
    model.Form_Load();
    EmailMainSettingsWindowView view(model, nullptr);
    view.show();

    auto* password = child<QLineEdit>(view, "SMTP_PASSWORD_TEXTBOX");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    test::clickTick(child<QCheckBox>(view, "SHOW_PASSWORD_TICKBOX"));
    EXPECT_EQ(password->echoMode(), QLineEdit::Normal);
    EXPECT_FALSE(child<QCheckBox>(view, "TLS_AUTO_TICKBOX")->isEnabled());
    test::clickTick(child<QCheckBox>(view, "TLS_NO_TICKBOX"));
    test::clickTick(child<QCheckBox>(view, "TLS_AUTO_TICKBOX"));
    EXPECT_EQ(model.TLS_TB_SETTING.text(), QStringLiteral("auto"));
    EXPECT_FALSE(child<QCheckBox>(view, "TLS_NO_TICKBOX")->isEnabled());

    QString shown;
    test::onNextModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->accept();
    });
    child<QPushButton>(view, "OK_BUTTON")->click();
    EXPECT_TRUE(shown.contains(QStringLiteral("/opt/zb/BATS/zb-sequenta-START-EMAIL.sh"))) << shown.toStdString();
    EXPECT_TRUE(view.isVisible()) << "stays open for a retry";
    EXPECT_EQ(h.stored(QStringLiteral("TLS_AUTO_TICKBOX")), QStringLiteral("1"));
}

} // namespace
} // namespace zb
