#include "mail/MailerProfile.h"
#include "mail/SendEmailCommand.h"
#include "tests/mail/MailTestSupport.h"
#include "tests/support/QtPrinters.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

const QString kStartScript = QStringLiteral("/opt/zb/BATS/zb-sequenta-START-EMAIL.sh");
const QString kEndScript = QStringLiteral("/opt/zb/BATS/zb-sequenta-END-EMAIL.sh");
const QString kLog = QStringLiteral("/opt/zb/LOGS/zb-sequenta-SEND-EMAIL.LOG");

void fill(EmailMainSettingsWindowModel& w)
{
    w.USE_BUTTON.click();
    w.SMTP_SERVER_ADDRESS_PORT_TEXTBOX.edit(QStringLiteral("127.0.0.1:2525"));
    w.SMTP_USERNAME_TEXTBOX.edit(QStringLiteral("zb"));
    w.SMTP_PASSWORD_TEXTBOX.edit(QStringLiteral("s3cret pw"));
    w.SEND_FROM_ADDRESS_TEXTBOX.edit(QStringLiteral("zb@example.org"));
    w.SEND_TO_ADDRESS_TEXTBOX.edit(QStringLiteral("ops@example.org"));
}

TEST(EmailMainSettingsWindow, AFreshStoreOpensEmptyMaskedAndAtTheDefaultPlace)
{
    Harness h;
    h.start();
    auto w = test::emailMainWindow(h);
    w.Form_Load();

    EXPECT_EQ(w.title(), QStringLiteral("ZB-SEQUENTA - EMAIL MAIN SETTINGS"));
    EXPECT_EQ(w.geometry().left, 1000);
    EXPECT_EQ(w.geometry().width, 9915);
    EXPECT_EQ(w.geometry().height, 5385);
    for (const TextField* f : {&w.SE_HOME_TEXTBOX, &w.SMTP_SERVER_ADDRESS_PORT_TEXTBOX, &w.SMTP_PASSWORD_TEXTBOX,
                               &w.SEND_BCC_ADDRESS_TEXTBOX})
        EXPECT_TRUE(f->text().isEmpty()) << f->objectName().toStdString();
    EXPECT_EQ(test::tlsState(w, w.TLS_TB_SETTING.text()), "1e 0d 0d no");
    EXPECT_EQ(w.SE_HOME_LABEL.caption(), QStringLiteral("\"sendEmail\" HOME - eg - /usr/bin"));

    EXPECT_TRUE(w.SMTP_PASSWORD_TEXTBOX.masked());
    w.SHOW_PASSWORD_TICKBOX.click();
    EXPECT_FALSE(w.SMTP_PASSWORD_TEXTBOX.masked());
    w.SHOW_PASSWORD_TICKBOX.click();
    EXPECT_TRUE(w.SMTP_PASSWORD_TEXTBOX.masked());
}

TEST(EmailMainSettingsWindow, TheMainWindowsCopiesFollowEditsWithinHalfASecondEvenAfterCancel)
{
    Harness h;
    h.start();
    auto w = test::emailMainWindow(h);
    w.Form_Load();
    h.store.clearWrites();
    h.clock.advance(500);
    const QString before = h.main().EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text();
    EXPECT_TRUE(before.contains(QStringLiteral(" '/sendEmail' -f ''"))) << before.toStdString();

    w.SEND_TO_ADDRESS_TEXTBOX.edit(QStringLiteral("night@example.org"));
    w.USE_BUTTON.click();
    h.clock.advance(499);
    EXPECT_EQ(h.main().EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text(), before);
    h.clock.advance(1);
    EXPECT_EQ(h.main().SE_HOME_TEXTBOX.text(), QStringLiteral("/usr/bin"));
    EXPECT_TRUE(h.main().EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text().contains(
        QStringLiteral(" '/usr/bin/sendEmail' -f '' -t 'night@example.org'")));
    EXPECT_TRUE(h.main().EMAIL_OUTPUT_END_COMMAND_TEXTBOX.text().startsWith(
        QStringLiteral("s='ZB-SEQUENTA - zb-sequenta - COMPLETED';")));

    w.CANCEL_BUTTON.click();
    EXPECT_TRUE(w.unloaded());
    EXPECT_TRUE(h.main().EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text().contains(QStringLiteral("night@example.org")));
    EXPECT_EQ(test::writtenKeys(h),
              (QStringList{QStringLiteral("EMAIL-MAIN-SETTINGS-Left"), QStringLiteral("EMAIL-MAIN-SETTINGS-Top")}));
    EXPECT_TRUE(h.files.written.isEmpty());
    // A closed window refreshes nothing any more.
    w.SEND_TO_ADDRESS_TEXTBOX.edit(QStringLiteral("late@example.org"));
    h.clock.advance(2000);
    EXPECT_FALSE(h.main().EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text().contains(QStringLiteral("late@")));
}

TEST(EmailMainSettingsWindow, OkSavesInOrderThenWritesBothScriptsAndAPrivateLog)
{
    Harness h;
    h.start();
    auto w = test::emailMainWindow(h);
    w.Form_Load();
    fill(w);
    h.clock.advance(500);
    h.store.clearWrites();
    w.OK_BUTTON.click();

    EXPECT_EQ(test::writtenKeys(h),
              (QStringList{QStringLiteral("EMAIL-MAIN-SETTINGS-Left"), QStringLiteral("EMAIL-MAIN-SETTINGS-Top"),
                           QStringLiteral("SE_HOME_TEXTBOX"), QStringLiteral("SMTP_SERVER_ADDRESS_PORT_TEXTBOX"),
                           QStringLiteral("SMTP_USERNAME_TEXTBOX"), QStringLiteral("SMTP_PASSWORD_TEXTBOX"),
                           QStringLiteral("SEND_FROM_ADDRESS_TEXTBOX"), QStringLiteral("SEND_TO_ADDRESS_TEXTBOX"),
                           QStringLiteral("SEND_CC_ADDRESS_TEXTBOX"), QStringLiteral("SEND_BCC_ADDRESS_TEXTBOX"),
                           QStringLiteral("TLS_NO_TICKBOX"), QStringLiteral("TLS_YES_TICKBOX"),
                           QStringLiteral("TLS_AUTO_TICKBOX"), QStringLiteral("EMAIL_OUTPUT_START_COMMAND_TEXTBOX"),
                           QStringLiteral("EMAIL_OUTPUT_END_COMMAND_TEXTBOX"),
                           QStringLiteral("EMAIL-MAIN-SETTINGS-Left"), QStringLiteral("EMAIL-MAIN-SETTINGS-Top")}));
    EXPECT_EQ(h.stored(QStringLiteral("SMTP_PASSWORD_TEXTBOX")), QStringLiteral("s3cret pw"));
    EXPECT_EQ(h.stored(QStringLiteral("TLS_NO_TICKBOX")), QStringLiteral("1"));

    const QString start = h.stored(QStringLiteral("EMAIL_OUTPUT_START_COMMAND_TEXTBOX"));
    EXPECT_EQ(start, buildSendEmailCommand(
                         {QStringLiteral("/usr/bin"), QStringLiteral("127.0.0.1:2525"), QStringLiteral("zb"),
                          QStringLiteral("s3cret pw"), QStringLiteral("zb@example.org"),
                          QStringLiteral("ops@example.org"), QString(), QString(), QStringLiteral("no")},
                         QStringLiteral("ZB-SEQUENTA - zb-sequenta - STARTED"),
                         {QStringLiteral("/opt/zb"), QStringLiteral("zb-sequenta")}, CommandProfile::PosixShell));
    EXPECT_EQ(h.files.written.value(kStartScript), start.toUtf8() + '\n');
    EXPECT_EQ(h.files.written.value(kEndScript),
              h.stored(QStringLiteral("EMAIL_OUTPUT_END_COMMAND_TEXTBOX")).toUtf8() + '\n');
    EXPECT_EQ(h.main().EMAIL_OUTPUT_END_COMMAND_TEXTBOX.text(),
              h.stored(QStringLiteral("EMAIL_OUTPUT_END_COMMAND_TEXTBOX")));
    EXPECT_TRUE(h.files.created.contains(kLog));
    EXPECT_TRUE(w.unloaded());

    // Opening again shows what was saved, and a second OK replaces both scripts.
    auto again = test::emailMainWindow(h);
    again.Form_Load();
    EXPECT_EQ(again.SMTP_PASSWORD_TEXTBOX.text(), QStringLiteral("s3cret pw"));
    EXPECT_EQ(again.EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text(), start);
    again.SEND_TO_ADDRESS_TEXTBOX.edit(QStringLiteral("other@example.org"));
    again.OK_BUTTON.click();
    EXPECT_TRUE(h.files.written.value(kStartScript).contains("'other@example.org'"));
    EXPECT_FALSE(h.files.written.value(kStartScript).contains("'ops@example.org'"));
    EXPECT_EQ(h.files.writeCount, 4);
}

TEST(EmailMainSettingsWindow, OkRightAfterAnEditWritesTheEditNotTheCommandOfHalfASecondAgo)
{
    Harness h;
    h.start();
    auto w = test::emailMainWindow(h);
    w.Form_Load();
    fill(w);
    h.clock.advance(500);
    w.SMTP_PASSWORD_TEXTBOX.edit(QStringLiteral("changed at the last moment"));
    w.OK_BUTTON.click();
    EXPECT_TRUE(h.files.written.value(kStartScript).contains("ZB_SMTP_PASSWORD='changed at the last moment'"));
    EXPECT_TRUE(h.stored(QStringLiteral("EMAIL_OUTPUT_END_COMMAND_TEXTBOX"))
                    .contains(QStringLiteral("ZB_SMTP_PASSWORD='changed at the last moment'")));
}

TEST(EmailMainSettingsWindow, AMissingBatsFolderIsSaidPlainlyAndTheWindowStaysOpenForARetry)
{
    Harness h;
    h.start();
    h.files.missingFolders.insert(QStringLiteral("/opt/zb/BATS"));
    auto w = test::emailMainWindow(h);
    QStringList errors;
    w.showError = [&](const QString& m) { errors << m; };
    w.Form_Load();
    fill(w);
    w.OK_BUTTON.click();

    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(kStartScript)) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains(QStringLiteral("No such file or directory")));
    EXPECT_TRUE(errors[0].contains(QStringLiteral("CREATE FOLDERS")));
    EXPECT_FALSE(w.unloaded());
    // Offered where it is missed, the folders are made and the scripts written.
    w.askYesNo = [](const QString& q) { return q.contains(QStringLiteral("Make the BATS and LOGS folders")); };
    w.createFolders = [&h] { return h.files.missingFolders.clear(), QString(); };
    EXPECT_EQ(h.stored(QStringLiteral("SMTP_USERNAME_TEXTBOX")), QStringLiteral("zb")) << "saved stays saved";
    EXPECT_TRUE(h.files.written.isEmpty());

    w.OK_BUTTON.click();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(h.files.written.contains(kEndScript));
    EXPECT_TRUE(w.unloaded());
}

TEST(EmailMainSettingsWindow, AMissingLogsFolderIsAWarningAfterTheScriptsAreWritten)
{
    Harness h;
    h.start();
    h.files.missingFolders.insert(QStringLiteral("/opt/zb/LOGS"));
    auto w = test::emailMainWindow(h);
    QStringList warnings;
    w.showWarning = [&](const QString& m) { warnings << m; };
    w.Form_Load();
    w.OK_BUTTON.click();

    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(kLog)) << warnings[0].toStdString();
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("CREATE FOLDERS")));
    EXPECT_TRUE(h.files.written.contains(kStartScript));
    EXPECT_TRUE(w.unloaded());
}

TEST(EmailMainSettingsWindow, TwoCopiesKeepTheirOwnSettingsScriptsAndLogButShareTheSharedSet)
{
    Harness h;
    h.start();
    FakeExecutableInfo nightlyExe(QStringLiteral("nightly"), QStringLiteral("/opt/zb"));
    Program nightly(
        Services{h.clock, h.store, nightlyExe, h.launcher, h.processes, h.folders, h.fileDialog, h.files, h.shell});
    EmailMainSettingsWindowModel second(nightly.settings, nightly.main, nullptr, h.fileDialog, h.files, h.shell,
                                        nightlyExe, h.clock);

    auto first = test::emailMainWindow(h);
    first.Form_Load();
    auto shared = test::emailSharedWindow(h, first);
    shared.Form_Load();
    shared.SMTP_SERVER_ADDRESS_PORT_TEXTBOX.edit(QStringLiteral("shared.example.org:25"));
    shared.OK_BUTTON.click();
    first.SEND_TO_ADDRESS_TEXTBOX.edit(QStringLiteral("first@example.org"));
    first.OK_BUTTON.click();

    second.Form_Load();
    EXPECT_TRUE(second.SEND_TO_ADDRESS_TEXTBOX.text().isEmpty()) << "its own section";
    auto sharedAgain = EmailSharedSettingsWindowModel(nightly.settings, second, h.fileDialog, h.shell.profile());
    sharedAgain.Form_Load();
    EXPECT_EQ(sharedAgain.SMTP_SERVER_ADDRESS_PORT_TEXTBOX.text(), QStringLiteral("shared.example.org:25"));
    sharedAgain.USE_THESE_SHARED_SETTINGS_BUTTON.click();
    second.OK_BUTTON.click();

    const QByteArray nightlyStart = h.files.written.value(QStringLiteral("/opt/zb/BATS/nightly-START-EMAIL.sh"));
    EXPECT_TRUE(nightlyStart.contains("-s 'shared.example.org:25'"));
    EXPECT_TRUE(nightlyStart.contains("'ZB-SEQUENTA - nightly - STARTED'"));
    EXPECT_TRUE(nightlyStart.contains("-l '/opt/zb/LOGS/nightly-SEND-EMAIL.LOG'"));
    EXPECT_TRUE(h.files.written.value(kStartScript).contains("-t 'first@example.org'"));
    EXPECT_TRUE(h.files.written.value(kStartScript).contains("-s ''"));
    EXPECT_EQ(h.files.created, (QSet<QString>{kLog, QStringLiteral("/opt/zb/LOGS/nightly-SEND-EMAIL.LOG")}));
}

TEST(EmailSharedSettingsWindow, OkSavesTheSharedSectionOnlyAndCancelLeavesEverything)
{
    Harness h;
    h.start();
    auto w = test::emailMainWindow(h);
    w.Form_Load();
    for (const bool ok : {false, true}) {
        h.store.clearWrites();
        auto shared = test::emailSharedWindow(h, w);
        shared.Form_Load();
        EXPECT_EQ(shared.title(), QStringLiteral("ZB-SEQUENTA - EMAIL SHARED SETTINGS"));
        EXPECT_EQ(shared.geometry().width, 9960);
        shared.SEND_CC_ADDRESS_TEXTBOX.edit(QStringLiteral("cc@example.org"));
        (ok ? shared.OK_BUTTON : shared.CANCEL_BUTTON).click();
        EXPECT_TRUE(shared.unloaded());
        QStringList sharedKeys;
        for (const auto& write : h.store.writes())
            if (write.section == keys::kSharedEmailSection)
                sharedKeys << write.key;
            else
                EXPECT_TRUE(write.key.startsWith(QStringLiteral("SHARED-SETTINGS-"))) << write.key.toStdString();
        EXPECT_EQ(sharedKeys.size(), ok ? 11 : 0);
    }
    EXPECT_EQ(h.store.getSetting(keys::kSharedEmailSection, QStringLiteral("SEND_CC_ADDRESS_TEXTBOX"), QString()),
              QStringLiteral("cc@example.org"));
    EXPECT_TRUE(w.SEND_CC_ADDRESS_TEXTBOX.text().isEmpty()) << "only USE THESE SHARED SETTINGS copies";
}

TEST(EmailMainSettingsWindow, TheFolderBrowserFillsTheHomeAndACancelLeavesIt)
{
    Harness h;
    h.start();
    auto w = test::emailMainWindow(h);
    w.Form_Load();
    w.SE_HOME_TEXTBOX.edit(QStringLiteral("/opt/mail"));
    w.BROWSE_SE_HOME_FOLDER_BUTTON.click();
    EXPECT_EQ(w.SE_HOME_TEXTBOX.text(), QStringLiteral("/opt/mail"));
    ASSERT_EQ(h.fileDialog.folderRequests.size(), 1);
    EXPECT_EQ(h.fileDialog.folderRequests[0].first, QStringLiteral("HOME FOLDER - sendEmail"));
    EXPECT_EQ(h.fileDialog.folderRequests[0].second, QStringLiteral("/opt/mail"));
    h.fileDialog.answer = QStringLiteral("/usr/local/bin");
    w.BROWSE_SE_HOME_FOLDER_BUTTON.click();
    EXPECT_EQ(w.SE_HOME_TEXTBOX.text(), QStringLiteral("/usr/local/bin"));
}

TEST(EmailMainSettingsWindow, SendTestEmailRunsTheStartCommandOfTheFieldsAsTheyStandWithoutWaiting)
{
    Harness h;
    h.start();
    auto w = test::emailMainWindow(h);
    QStringList info, errors;
    w.showInformation = [&](const QString& m) { info << m; };
    w.showError = [&](const QString& m) { errors << m; };
    w.Form_Load();
    w.SEND_TEST_EMAIL_BUTTON.click();
    EXPECT_TRUE(errors.value(0).contains(QStringLiteral("From is empty and To is empty")));
    errors.clear();
    fill(w);
    w.SEND_TEST_EMAIL_BUTTON.click();

    ASSERT_EQ(h.shell.runs.size(), 1);
    EXPECT_EQ(h.shell.runs[0].timeoutMs, 60'000);
    EXPECT_TRUE(h.shell.runs[0].commandLine.contains(QStringLiteral("ZB_SMTP_PASSWORD='s3cret pw'")));
    EXPECT_TRUE(h.shell.runs[0].commandLine.contains(QStringLiteral("- STARTED - TEST E-MAIL, NOTHING RAN'")));
    EXPECT_FALSE(w.SEND_TEST_EMAIL_BUTTON.enabled()) << "one test at a time";
    EXPECT_TRUE(h.files.created.contains(kLog));

    CommandOutcome sent;
    sent.started = true;
    sent.exitCode = 0;
    sent.output = "a\nb\nc\nd\ne\nf\ng\nh\ni\nEmail was sent successfully!\n";
    h.shell.finish(sent);
    ASSERT_EQ(info.size(), 1);
    EXPECT_TRUE(info[0].contains(QStringLiteral("exit status 0")));
    EXPECT_TRUE(info[0].endsWith(QStringLiteral("Email was sent successfully!")));
    EXPECT_FALSE(info[0].contains(QStringLiteral("\nb\n"))) << "only the last lines";
    EXPECT_TRUE(w.SEND_TEST_EMAIL_BUTTON.enabled());
    EXPECT_TRUE(h.store.writes().isEmpty()) << "a test saves nothing";

    // A refused login: the status, and no password in any spelling.
    w.SEND_TEST_EMAIL_BUTTON.click();
    CommandOutcome refused;
    refused.started = true;
    refused.exitCode = 1;
    refused.output = "INFO => Sending: \t" + QByteArray("s3cret pw").toBase64() +
                     " as zb for zb@example.org\nERROR => SMTP-AUTH: Authentication to 127.0.0.1:2525 failed.\n";
    h.shell.finish(refused);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("exit status 1")));
    EXPECT_TRUE(errors[0].contains(QStringLiteral("status 1.\nWhy: SMTP-AUTH: Authentication")));
    EXPECT_TRUE(errors[0].contains(QStringLiteral(" as [hidden] for zb@example.org"))) << "whole values only";
    EXPECT_FALSE(errors[0].contains(QString::fromLatin1(QByteArray("s3cret pw").toBase64())));

    w.SEND_TEST_EMAIL_BUTTON.click();
    CommandOutcome hung;
    hung.started = true;
    hung.timedOut = true;
    h.shell.finish(hung);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[1].contains(QStringLiteral("60 seconds")));
}

TEST(EmailMainSettingsWindow, ATestEmailThatEndsAfterTheWindowHasGoneIsIgnored)
{
    Harness h;
    h.start();
    {
        auto w = test::emailMainWindow(h);
        w.Form_Load();
        fill(w);
        w.SEND_TEST_EMAIL_BUTTON.click();
        w.CANCEL_BUTTON.click();
    }
    CommandOutcome late;
    late.started = true;
    h.shell.finish(late); // must not touch the destroyed window
    EXPECT_EQ(h.shell.runs.size(), 1);
}

TEST(EmailOutputCommandsWindow, ShowsTheMainWindowsCommandWithItsScriptPath)
{
    Harness h;
    h.start();
    h.main().EMAIL_OUTPUT_START_COMMAND_TEXTBOX.setText(QStringLiteral("start command"));
    h.main().EMAIL_OUTPUT_END_COMMAND_TEXTBOX.setText(QStringLiteral("end command"));
    auto w = test::outputCommandsWindow(h);
    w.Form_Load();
    EXPECT_EQ(w.geometry().width, 11865);
    EXPECT_EQ(w.ALL_LOCATIONS_TEXTBOX.text(), QStringLiteral("!!! NO COMMAND SELECTED - PLEASE SELECT A COMMAND !!!"));
    EXPECT_TRUE(w.ALL_COMMANDS_TEXTBOX.text().isEmpty());
    EXPECT_EQ(w.START_EMAIL_COMMAND_BUTTON.caption(), QStringLiteral("\"START EMAIL\" RUN COMMAND"));

    w.START_EMAIL_COMMAND_BUTTON.click();
    EXPECT_EQ(w.COMMAND_NAME_LABEL.caption(), QStringLiteral("RUN COMMAND - sendEmail - START EMAIL"));
    EXPECT_EQ(w.ALL_COMMANDS_TEXTBOX.text(), QStringLiteral("start command"));
    EXPECT_EQ(w.ALL_LOCATIONS_TEXTBOX.text(), kStartScript);
    w.END_EMAIL_COMMAND_BUTTON.click();
    EXPECT_EQ(w.COMMAND_NAME_LABEL.caption(), QStringLiteral("RUN COMMAND - sendEmail - END EMAIL"));
    EXPECT_EQ(w.ALL_COMMANDS_TEXTBOX.text(), QStringLiteral("end command"));
    EXPECT_EQ(w.ALL_LOCATIONS_TEXTBOX.text(), kEndScript);

    h.store.clearWrites();
    w.OK_BUTTON.click();
    EXPECT_TRUE(w.unloaded());
    EXPECT_EQ(test::writtenKeys(h), (QStringList{QStringLiteral("SINGLE_OUTPUT_COMMANDS_WINDOW-Left"),
                                                 QStringLiteral("SINGLE_OUTPUT_COMMANDS_WINDOW-Top")}));
}

} // namespace
} // namespace zb
