// The e-mail road with the real parts: Debian's sendEmail, /bin/sh, the
// files on disk, and a loopback SMTP server that requires a login.
#include "app/Program.h"
#include "mail/EmailMainSettingsWindowModel.h"
#include "platform/fake/FakeExecutableInfo.h"
#include "platform/fake/FakeFileDialog.h"
#include "platform/fake/FakeFolders.h"
#include "platform/fake/FakeLauncher.h"
#include "platform/fake/FakeProcessQuery.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/SimulatedClock.h"
#include "platform/linux/PosixCommandShell.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/QtFiles.h"
#include "tests/mail/LoopbackSmtpServer.h"
#include "tests/support/QtPrinters.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QTimer>
#include <gtest/gtest.h>

#include <iostream>

#include <sys/stat.h>

namespace zb {
namespace {

const QString kUser = QStringLiteral("zb user");
// A quote of each kind, a dollar, a backquote and blanks.
const QString kPassword = QStringLiteral("p'a \"$HOME\" `x` b");

mode_t modeOf(const QString& path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

QStringList strings(const QJsonValue& v)
{
    QStringList out;
    for (const QJsonValue& x : v.toArray())
        out << x.toString();
    return out;
}

// The command lines that hold `secret` while `sh` runs, or a note that the
// mailer's own was never among those seen.
QStringList commandLinesHolding(const QByteArray& secret, QProcess& sh)
{
    QStringList holding{QStringLiteral("<the mailer was never seen>")};
    for (QDeadlineTimer limit(60'000); !sh.waitForFinished(1) && !limit.hasExpired();)
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile f(QStringLiteral("/proc/%1/cmdline").arg(pid));
            const QByteArray line = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            if (line.startsWith("/usr/bin/sendEmail"))
                holding.removeAll(QStringLiteral("<the mailer was never seen>"));
            if (line.contains(secret))
                holding << QString::fromUtf8(line);
        }
    return holding;
}

// One copy of the program, "X" in a folder with a blank in its name, over
// the real files and shell.
struct Copy {
    explicit Copy(SettingsStore& settingsStore, const QString& name = QStringLiteral("X"))
        : exe(name, root.filePath(QStringLiteral("zb dir"))),
          program(Services{clock, settingsStore, exe, launcher, processes, folders, fileDialog, files, shell})
    {
        QDir().mkpath(exe.folder_ + QStringLiteral("/BATS"));
        QDir().mkpath(exe.folder_ + QStringLiteral("/LOGS"));
        program.start();
    }

    EmailMainSettingsWindowModel window()
    {
        return EmailMainSettingsWindowModel(program.settings, program.main, nullptr, fileDialog, files, shell, exe,
                                            clock);
    }
    QString path(const char* relative) const { return exe.folder_ + QLatin1Char('/') + QLatin1String(relative); }

    QTemporaryDir root;
    SimulatedClock clock;
    FakeExecutableInfo exe;
    FakeLauncher launcher;
    FakeProcessQuery processes;
    FakeFolders folders;
    FakeFileDialog fileDialog;
    QtFiles files;
    PosixCommandShell shell;
    Program program;
};

void fill(EmailMainSettingsWindowModel& w, const test::LoopbackSmtpServer& server, const QString& password)
{
    w.USE_BUTTON.click();
    w.SMTP_SERVER_ADDRESS_PORT_TEXTBOX.edit(server.address());
    w.SMTP_USERNAME_TEXTBOX.edit(kUser);
    w.SMTP_PASSWORD_TEXTBOX.edit(password);
    w.SEND_FROM_ADDRESS_TEXTBOX.edit(QStringLiteral("zb@example.org"));
    w.SEND_TO_ADDRESS_TEXTBOX.edit(QStringLiteral("ops@example.org"));
    w.SEND_CC_ADDRESS_TEXTBOX.edit(QStringLiteral("boss@example.org"));
    w.SEND_BCC_ADDRESS_TEXTBOX.edit(QStringLiteral("audit@example.org"));
}

TEST(MailEndToEnd, OkWritesPrivateScriptsWhoseStartScriptDeliversOneMessageThroughSendEmail)
{
    test::LoopbackSmtpServer server(kUser, kPassword);
    ASSERT_NE(server.port(), 0) << server.error().toStdString();
    MemorySettingsStore store;
    Copy copy(store);
    auto w = copy.window();
    w.Form_Load();
    fill(w, server, kPassword);
    w.OK_BUTTON.click();
    ASSERT_TRUE(w.unloaded());

    const QString start = copy.path("BATS/X-START-EMAIL.sh");
    const QString log = copy.path("LOGS/X-SEND-EMAIL.LOG");
    EXPECT_EQ(modeOf(start), mode_t(0600));
    EXPECT_EQ(modeOf(copy.path("BATS/X-END-EMAIL.sh")), mode_t(0600));
    EXPECT_EQ(modeOf(log), mode_t(0600));
    EXPECT_EQ(readText(start).count(QLatin1Char('\n')), 1);

    // As the run engine runs it; no command line shows the password meanwhile.
    QProcess sh;
    sh.start(QStringLiteral("/bin/sh"), {start});
    EXPECT_EQ(commandLinesHolding(kPassword.toUtf8(), sh), QStringList());
    EXPECT_EQ(sh.exitCode(), 0) << sh.readAll().toStdString();

    const QList<QJsonObject> got = server.waitForMessages(1, 10'000);
    ASSERT_EQ(got.size(), 1);
    const QJsonObject& m = got[0];
    EXPECT_EQ(m[QStringLiteral("subject")].toString(), QStringLiteral("ZB-SEQUENTA - X - STARTED"));
    EXPECT_EQ(m[QStringLiteral("login")].toString(), kUser);
    EXPECT_EQ(m[QStringLiteral("mail_from")].toString(), QStringLiteral("zb@example.org"));
    EXPECT_TRUE(m[QStringLiteral("from")].toString().contains(QStringLiteral("zb@example.org")));
    EXPECT_TRUE(m[QStringLiteral("to")].toString().contains(QStringLiteral("ops@example.org")));
    EXPECT_TRUE(m[QStringLiteral("cc")].toString().contains(QStringLiteral("boss@example.org")));
    EXPECT_TRUE(m[QStringLiteral("reply_to")].toString().contains(QStringLiteral("zb@example.org")));
    EXPECT_TRUE(m[QStringLiteral("bcc_header")].toString().isEmpty()) << "a blind copy stays blind";
    EXPECT_EQ(strings(m[QStringLiteral("rcpt_tos")]),
              (QStringList{QStringLiteral("ops@example.org"), QStringLiteral("boss@example.org"),
                           QStringLiteral("audit@example.org")}));
    EXPECT_TRUE(readText(log).contains(QStringLiteral("Email was sent successfully!")));
    EXPECT_EQ(modeOf(log), mode_t(0600));
    EXPECT_EQ(m[QStringLiteral("body")].toString().trimmed(), QStringLiteral("ZB-SEQUENTA - X - STARTED"));

    // The end script run by hand, without a pass's subject and text, sends
    // the plain subject, as it always has.
    QProcess end;
    end.start(QStringLiteral("/bin/sh"), {copy.path("BATS/X-END-EMAIL.sh")});
    ASSERT_TRUE(end.waitForFinished(60'000));
    EXPECT_EQ(end.exitCode(), 0) << end.readAll().toStdString();
    const QList<QJsonObject> both = server.waitForMessages(2, 10'000);
    ASSERT_EQ(both.size(), 2);
    EXPECT_EQ(both[1][QStringLiteral("subject")].toString(), QStringLiteral("ZB-SEQUENTA - X - COMPLETED"));
    EXPECT_EQ(both[1][QStringLiteral("body")].toString().trimmed(), QStringLiteral("ZB-SEQUENTA - X - COMPLETED"));
}

// Waits in the event loop for the test e-mail's message box.
QString awaitReport(QStringList& info, QStringList& errors)
{
    QDeadlineTimer deadline(70'000);
    QEventLoop loop;
    QTimer poll;
    poll.callOnTimeout([&] {
        if (!info.isEmpty() || !errors.isEmpty() || deadline.hasExpired())
            loop.quit();
    });
    poll.start(20);
    loop.exec();
    const QString report =
        info.isEmpty() ? (errors.isEmpty() ? QString() : QStringLiteral("ERROR: ") + errors[0]) : info[0];
    info.clear();
    errors.clear();
    return report;
}

TEST(MailEndToEnd, SendTestEmailReportsTheRealMailersSuccessAndARefusedPassword)
{
    test::LoopbackSmtpServer server(kUser, kPassword);
    ASSERT_NE(server.port(), 0) << server.error().toStdString();
    MemorySettingsStore store;
    Copy copy(store);
    auto w = copy.window();
    QStringList info, errors;
    w.showInformation = [&](const QString& m) { info << m; };
    w.showError = [&](const QString& m) { errors << m; };
    w.Form_Load();
    fill(w, server, kPassword);

    w.SEND_TEST_EMAIL_BUTTON.click();
    EXPECT_FALSE(w.SEND_TEST_EMAIL_BUTTON.enabled()) << "the window goes on while the mailer runs";
    const QString sent = awaitReport(info, errors);
    EXPECT_TRUE(sent.contains(QStringLiteral("exit status 0"))) << sent.toStdString();
    EXPECT_TRUE(sent.contains(QStringLiteral("Email was sent successfully!"))) << sent.toStdString();
    EXPECT_EQ(server.waitForMessages(1, 5000).size(), 1);

    w.SMTP_PASSWORD_TEXTBOX.edit(QStringLiteral("wrong password"));
    w.SEND_TEST_EMAIL_BUTTON.click();
    const QString refused = awaitReport(info, errors);
    EXPECT_TRUE(refused.startsWith(QStringLiteral("ERROR: sendEmail failed with exit status 1")))
        << refused.toStdString();
    EXPECT_FALSE(refused.contains(QString::fromLatin1(QByteArray("wrong password").toBase64())));
    EXPECT_EQ(server.messages().size(), 1);

    // The mailer's own warning quotes a login with a leading blank as typed;
    // a log made before by someone else's rules is closed to others.
    const QString log = copy.path("LOGS/X-SEND-EMAIL.LOG");
    ASSERT_TRUE(QFile::setPermissions(log, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther));
    w.SMTP_SERVER_ADDRESS_PORT_TEXTBOX.edit(QStringLiteral("127.0.0.1:1")); // few lines: the warnings stay in view
    w.SMTP_USERNAME_TEXTBOX.edit(QStringLiteral(" zb login"));
    w.SMTP_PASSWORD_TEXTBOX.edit(QStringLiteral(" blank first"));
    w.SEND_TEST_EMAIL_BUTTON.click();
    const QString quoted = awaitReport(info, errors);
    EXPECT_TRUE(quoted.contains(QStringLiteral("[password=[hidden]]"))) << quoted.toStdString();
    for (const char* secret : {"blank first", "zb login"})
        EXPECT_FALSE(quoted.contains(QLatin1String(secret))) << quoted.toStdString();
    EXPECT_EQ(QFileInfo(log).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    EXPECT_FALSE(w.unloaded()) << "a test closes nothing";
}

#ifdef ZB_PROGRAM_PATH
// The unattended road: a copy with autostart, autoclose and both e-mail
// ticks, whose task 2 exits 3 and whose task 3 does not exist, runs its
// chain and closes by itself; the server hears STARTED, then a mail that
// says the pass completed with errors, names the task, its status and its
// last output lines.
TEST(MailEndToEnd, AnUnattendedPassWithAFailingTaskSendsAMailThatSaysSo)
{
    test::LoopbackSmtpServer server(kUser, kPassword);
    ASSERT_NE(server.port(), 0) << server.error().toStdString();
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    const QString ini = config.filePath(QStringLiteral("ZB-SEQUENTA/ZB-SEQUENTA.ini"));
    const QString name = QStringLiteral("zb-mail-road-%1").arg(QCoreApplication::applicationPid()); // a lock of its own
    QString program;
    {
        IniSettingsStore store(ini);
        Copy copy(store, name);
        auto w = copy.window();
        w.Form_Load();
        fill(w, server, kPassword);
        w.OK_BUTTON.click();
        ASSERT_TRUE(w.unloaded());
        for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "START_EMAIL_TICKBOX", "END_EMAIL_TICKBOX",
                                "TASK_1_ENABLE_TICKBOX", "TASK_2_ENABLE_TICKBOX", "TASK_3_ENABLE_TICKBOX"})
            store.saveSetting(name, QLatin1String(key), QStringLiteral("1"));
        store.saveSetting(name, QStringLiteral("AlwaysOnTopTimer_TICKBOX"), QStringLiteral("0"));
        store.saveSetting(name, QStringLiteral("TASK_1_CMD"), QStringLiteral("/bin/sh -c \"echo fine\""));
        store.saveSetting(name, QStringLiteral("TASK_2_CMD"),
                          QStringLiteral("/bin/sh -c \"for i in $(seq 1 25); do echo out $i; done; exit 3\""));
        store.saveSetting(name, QStringLiteral("TASK_3_CMD"), QStringLiteral("zb-no-such-program"));
        program = copy.path("") + name;
        ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));

        QProcess run;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
        env.insert(QStringLiteral("XDG_STATE_HOME"), config.filePath(QStringLiteral("state")));
        run.setProcessEnvironment(env);
        run.setProcessChannelMode(QProcess::MergedChannels);
        run.start(program, {});
        ASSERT_TRUE(run.waitForStarted(10'000));
        // 11 s autostart, twenty one-second steps, 11 s autoclose.
        const bool finished = run.waitForFinished(110'000);
        if (!finished) {
            run.kill();
            run.waitForFinished();
        }
        ASSERT_TRUE(finished) << "the program did not close by itself\n" << run.readAll().toStdString();

        const QList<QJsonObject> got = server.waitForMessages(2, 30'000);
        ASSERT_EQ(got.size(), 2);
        EXPECT_EQ(got[0][QStringLiteral("subject")].toString(), QStringLiteral("ZB-SEQUENTA - %1 - STARTED").arg(name));
        const QJsonObject& failed = got[1];
        if (qEnvironmentVariableIsSet("ZB_PRINT_MAIL"))
            std::cout << failed[QStringLiteral("raw")].toString().toStdString() << std::endl;
        const QString subject = QStringLiteral("ZB-SEQUENTA - %1 - COMPLETED WITH ERRORS").arg(name);
        EXPECT_EQ(failed[QStringLiteral("subject")].toString(), subject);
        // The mailer ends the lines of the text with CR LF, as SMTP wants them.
        const QString body =
            failed[QStringLiteral("body")].toString().replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        for (const QString& part :
             {subject + QStringLiteral("\n\n"),
              QStringLiteral("Result     COMPLETED WITH ERRORS - TASK 2 EXITED WITH 3\n"),
              QStringLiteral("TASK 1     exited with 0 after "), QStringLiteral("TASK 2     exited with 3 after "),
              QStringLiteral("TASK 3     failed to start: no such program: zb-no-such-program\n"),
              QStringLiteral("TASKS 4–20 skipped\n"), QStringLiteral("TASK 2, last lines of its output"),
              QStringLiteral("\nout 6\n"), QStringLiteral("\nout 25\n")})
            EXPECT_TRUE(body.contains(part)) << part.toStdString() << " not in\n" << body.toStdString();
        EXPECT_FALSE(body.contains(QStringLiteral("\nout 5\n"))) << "twenty lines, no more";
        EXPECT_EQ(readText(copy.path("LOGS/") + name + QStringLiteral("-SEND-EMAIL.LOG"))
                      .count(QStringLiteral("sent successfully")),
                  2);
        EXPECT_EQ(modeOf(copy.path("LOGS/") + name + QStringLiteral("-END-EMAIL.txt")), mode_t(0600));
        // The journal tells how the end e-mail's script ended: the program
        // waited for it after its window had closed.
        const QString journal =
            readText(config.filePath(QStringLiteral("state/ZB-SEQUENTA/") + name + QStringLiteral("-runs.log")));
        EXPECT_TRUE(journal.contains(QStringLiteral(" email-ended email=end "))) << journal.toStdString();
    }
}
#endif

} // namespace
} // namespace zb
