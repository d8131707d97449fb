// The e-mail settings window's OK (settings file saved, two private scripts
// written atomically, the log made) against two plain file writes; and one
// test e-mail through the window (sh, sendEmail, a loopback SMTP server with
// a login) against the same command run by /bin/sh and waited for.
#include "mail/EmailMainSettingsWindowModel.h"
#include "mail/MailerProfile.h"
#include "mail/SendEmailCommand.h"
#include "platform/linux/PosixCommandShell.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/QtFiles.h"
#include "tests/mail/LoopbackSmtpServer.h"
#include "tests/support/Harness.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace zb {
namespace {

const QString kUser = QStringLiteral("zb");
const QString kPassword = QStringLiteral("p'a $x b");

// A started program over fakes, but with the real settings file, files and
// shell, in a temporary program folder.
struct Bench {
    Bench()
    {
        h.exe.folder_ = root.path();
        QDir().mkpath(root.filePath(QStringLiteral("BATS")));
        QDir().mkpath(root.filePath(QStringLiteral("LOGS")));
        program = std::make_unique<Program>(
            Services{h.clock, store, h.exe, h.launcher, h.processes, h.folders, h.fileDialog, files, shell});
        program->start();
    }
    std::unique_ptr<EmailMainSettingsWindowModel> window(const QString& server)
    {
        auto window = std::make_unique<EmailMainSettingsWindowModel>(program->settings, program->main, nullptr,
                                                                     h.fileDialog, files, shell, h.exe, h.clock);
        EmailMainSettingsWindowModel& w = *window;
        w.Form_Load();
        w.USE_BUTTON.click();
        w.SMTP_SERVER_ADDRESS_PORT_TEXTBOX.edit(server);
        w.SMTP_USERNAME_TEXTBOX.edit(kUser);
        w.SMTP_PASSWORD_TEXTBOX.edit(kPassword);
        w.SEND_FROM_ADDRESS_TEXTBOX.edit(QStringLiteral("zb@example.org"));
        w.SEND_TO_ADDRESS_TEXTBOX.edit(QStringLiteral("ops@example.org"));
        return window;
    }

    QTemporaryDir root;
    IniSettingsStore store{root.filePath(QStringLiteral("config/ZB-SEQUENTA.ini"))};
    test::Harness h;
    QtFiles files;
    PosixCommandShell shell;
    std::unique_ptr<Program> program;
};

void BM_OkToScriptsOnDisk(benchmark::State& state)
{
    Bench b;
    for (auto _ : state) {
        state.PauseTiming();
        auto w = b.window(QStringLiteral("127.0.0.1:25"));
        state.ResumeTiming();
        w->OK_BUTTON.click();
    }
    if (!QFile::exists(b.root.filePath(QStringLiteral("BATS/zb-sequenta-END-EMAIL.sh"))))
        state.SkipWithError("no script written");
}
BENCHMARK(BM_OkToScriptsOnDisk)->Unit(benchmark::kMicrosecond);

// Baseline: the same two scripts written in place, no rename, no flush.
void BM_PlainWritesBaseline(benchmark::State& state)
{
    Bench b;
    const QByteArray script = emailScriptContent(
        CommandProfile::PosixShell,
        buildSendEmailCommand({}, QStringLiteral("ZB-SEQUENTA - zb-sequenta - STARTED"),
                              {b.root.path(), QStringLiteral("zb-sequenta")}, CommandProfile::PosixShell));
    for (auto _ : state)
        for (const char* name : {"BATS/plain-START-EMAIL.sh", "BATS/plain-END-EMAIL.sh"}) {
            QFile f(b.root.filePath(QLatin1String(name)));
            if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
                f.write(script);
        }
}
BENCHMARK(BM_PlainWritesBaseline)->Unit(benchmark::kMicrosecond);

void BM_TestEmailThroughTheWindow(benchmark::State& state)
{
    test::LoopbackSmtpServer server(kUser, kPassword);
    if (server.port() == 0) {
        state.SkipWithError("no SMTP server");
        return;
    }
    Bench b;
    auto window = b.window(server.address());
    EmailMainSettingsWindowModel& w = *window;
    bool ended = false;
    bool ok = true;
    w.showInformation = [&](const QString&) { ended = true; };
    w.showError = [&](const QString&) {
        ended = true;
        ok = false;
    };
    for (auto _ : state) {
        ended = false;
        w.SEND_TEST_EMAIL_BUTTON.click();
        // Sleeps in the event loop until the mailer's end is delivered.
        QEventLoop loop;
        QTimer poll;
        poll.callOnTimeout([&] {
            if (ended)
                loop.quit();
        });
        poll.start(5);
        loop.exec();
    }
    if (!ok)
        state.SkipWithError("the test e-mail failed");
}
BENCHMARK(BM_TestEmailThroughTheWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

// Baseline: the same START command run by /bin/sh and waited for, outside
// the window and its event loop.
void BM_SameCommandWaitedForBaseline(benchmark::State& state)
{
    test::LoopbackSmtpServer server(kUser, kPassword);
    if (server.port() == 0) {
        state.SkipWithError("no SMTP server");
        return;
    }
    Bench b;
    auto window = b.window(server.address());
    window->COMMAND_UPDATE_TIMER_Timer();
    const QString command = window->EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text();
    for (auto _ : state) {
        QProcess sh;
        sh.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
        if (!sh.waitForFinished(60'000) || sh.exitCode() != 0)
            state.SkipWithError("sendEmail failed");
    }
}
BENCHMARK(BM_SameCommandWaitedForBaseline)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
} // namespace zb

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
