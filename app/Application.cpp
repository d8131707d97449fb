#include "Application.h"

#include "CommandLine.h"
#include "DialogWindowOpener.h"
#include "NotRunNotice.h"
#include "Program.h"
#include "ScheduledStart.h"
#include "SystemJournal.h"
#include "core/SettingsKeys.h"
#include "platform/CommandShell.h"
#include "platform/Crontab.h"
#include "platform/DisplayCheck.h"
#include "platform/FontWarmUp.h"
#include "platform/Launcher.h"
#include "platform/ProcessQuery.h"
#include "platform/SingleInstance.h"
#include "platform/SystemDesk.h"
#include "platform/SystemServices.h"
#include "platform/qt/ArgvExecutableInfo.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/InstalledProgramData.h"
#include "platform/qt/QtFiles.h"
#include "platform/qt/QtTimerHost.h"
#include "platform/qt/StdFolders.h"
#include "schedule/CronEntry.h"
#include "ui/EditorDialog.h"
#include "ui/MainWindowView.h"
#include "ui/ProgramIdentity.h"
#include "ui/QtFileDialog.h"
#include "ui/SingleInstanceGuard.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>
#include <vector>

namespace zb {

namespace {

// Closes every open secondary window, then the main window, so that a close
// from a timer (the autoclose) also ends the program while an editor is open.
void closeEverything(MainWindowView& main)
{
    // Nobody may be there to answer a question: editors close unasked.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* editor = dynamic_cast<EditorDialog*>(w); editor != nullptr && editor->isVisible())
            editor->closeWithoutAsking();
        else if (auto* dialog = qobject_cast<QDialog*>(w); dialog != nullptr && dialog->isVisible())
            dialog->reject();
    main.close();
}

// Waits in the event loop, where the launcher sees the scripts end, for
// the e-mail scripts that still send: until they have ended, the grace time
// is up, or a TERM or an INT asks again, which leaves them sending.
void awaitEmailScripts(Program& program, std::function<void()>& onShutdownRequest)
{
    const QDeadlineTimer deadline(RunControl::kEmailGraceMs);
    QEventLoop loop;
    QTimer look;
    look.callOnTimeout([&] {
        if (program.engine.recorder().runningEmails().isEmpty() || deadline.hasExpired())
            loop.quit();
    });
    onShutdownRequest = [&loop] { loop.quit(); };
    if (!program.engine.recorder().runningEmails().isEmpty()) {
        look.start(50);
        loop.exec();
    }
    onShutdownRequest = [] {};
    // Those that ended meanwhile are told as ended, the others as running.
    program.engine.run().awaitEmails(0);
}

} // namespace

bool autostartTicked(const ExecutableInfo& exe)
{
    IniSettingsStore store(systemSettingsFilePath());
    return Settings(store, exe).readTick(keys::AUTOSTART_TICKBOX) == 1;
}

namespace {

void print(const QString& text)
{
    if (!text.isEmpty())
        std::fputs(text.toLocal8Bit().constData(), stderr);
}

// How long Qt may wait for the display before the start goes on without it.
constexpr int kDisplaySeconds = 6;

// The display never answered and Qt is stuck in it (a stopped server, a TCP
// display behind a firewall): a start that may run without a window starts
// again on the offscreen platform; any other says why and ends.
void onDisplayHang(char** argv, const QString& reason, const StartOptions& options, SingleInstance& instance,
                   bool claimed, const ExecutableInfo& exe)
{
    const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
    const auto journal = createSystemJournal(exe.baseName());
    if (!claimed) {
        handOver(instance, exe.baseName(), false);
        if (options.scheduled)
            journal->record(claimRefusal(instance.refusal(), options.caughtUp).record());
        return;
    }
    StartPlan plan =
        planStart(options.scheduled, options.scheduled && autostartTicked(exe), reason, program, options.caughtUp);
    if (plan.mode == StartMode::Windowless) {
        // A start at boot stays one: the copy started again finds the same missed minute.
        const QByteArray mark = options.caughtUp.isEmpty() ? QByteArray("1") : QByteArray(schedule::kBootStartValue);
        restartThisProgram(argv, {QByteArray(schedule::kScheduledStartVariable) + '=' + mark,
                                  QByteArray(kUnusableDisplayVariable) + '=' + reason.toLocal8Bit(),
                                  "QT_QPA_PLATFORM=offscreen"});
        const QString failed = reason + QStringLiteral("; starting again without a window failed");
        plan.stderrText = noDisplayText(program, failed);
        plan.record = StartRefusal{StartRefusal::Kind::NoDisplay,
                                   withCatchUpNote(QStringLiteral("no display: ") + failed, options.caughtUp)}
                          .record();
    }
    print(plan.stderrText);
    if (plan.record)
        journal->record(*plan.record);
}

} // namespace

int runApplication(int argc, char** argv, const StartOptions& given)
{
    StartOptions options = given;
    ArgvExecutableInfo exe(QString::fromLocal8Bit(argv[0]));
    // The name is claimed before the display is opened, so that a display
    // that hangs never keeps a start from its lock. A second copy of the same
    // name leaves the settings alone.
    auto instance = createSystemSingleInstance();
    const bool claimed = instance->claim(exe.baseName());
    std::unique_ptr<DisplayOpening> opening;
    std::unique_ptr<FontWarmUp> fonts;
    if (!options.windowless) {
        // Qt may take argv's pointers apart; the start again needs them whole.
        std::vector<char*> arguments(argv, argv + argc + 1);
        opening = beginDisplayOpening(kDisplaySeconds, options.displayGiven,
                                      [arguments, options, claimed, &exe, &instance](const QString& why) mutable {
                                          onDisplayHang(arguments.data(), why, options, *instance, claimed, exe);
                                      });
        // Read while the display opens, for the first text the window measures.
        fonts = beginFontWarmUp();
    }
    QApplication app(argc, argv);
    if (fonts)
        fonts->finish();
    const QString noWindow = opening ? opening->finish(QGuiApplication::platformName()) : QString();
    QApplication::setApplicationName(QStringLiteral("ZB-SEQUENTA"));
    QApplication::setApplicationVersion(programVersion());
    // The icon is drawn meanwhile, and given once the window has been mapped.
    const std::function<void()> showProgramIcon = applyProgramIdentityAhead();
    useProgramLanguageForSystemMessages();

    if (!claimed) {
        // A notice on the offscreen platform would wait unseen.
        const bool shown =
            noWindow.isEmpty() && !options.windowless && QGuiApplication::platformName() != QLatin1String("offscreen");
        handOver(*instance, exe.baseName(), shown && !standardErrorIsTerminal());
        if (options.scheduled)
            tellScheduledStartNotRun(exe, claimRefusal(instance->refusal(), options.caughtUp).record());
        return kExitCannotRun;
    }
    if (!noWindow.isEmpty()) {
        const QString program = QFileInfo(QString::fromLocal8Bit(argv[0])).fileName();
        const StartPlan plan = planStart(options.scheduled, options.scheduled && autostartTicked(exe), noWindow,
                                         program, options.caughtUp);
        print(plan.stderrText);
        if (plan.mode == StartMode::NotRun) {
            if (plan.record)
                tellScheduledStartNotRun(exe, *plan.record);
            return kExitCannotRun;
        }
        // Qt has already fallen back to its offscreen platform.
        options.windowless = true;
        options.noDisplay = noWindow;
    }

    QtTimerHost timers;
    IniSettingsStore store(systemSettingsFilePath());
    const auto launcher = createSystemLauncher();
    const auto processes = createSystemProcessQuery();
    const auto shell = createSystemCommandShell();
    const auto crontab = createSystemCrontab();
    StdFolders folders;
    QtFileDialog fileDialog;
    QtFiles files;
    const auto journal = createSystemJournal(exe.baseName());
    // Beside the executable itself, not beside a link to it.
    const InstalledProgramData data(InstalledProgramData::foldersFor(QCoreApplication::applicationDirPath()));

    // The desk asks for the main window's native id only once it is shown.
    const MainWindowView* shownView = nullptr;
    // Without a window the desk's key presses, stacking and screensaver
    // inhibition have nothing to act on.
    const SystemDesk desk = options.windowless ? SystemDesk{} : createSystemDesk([&shownView]() -> WindowId {
        return shownView != nullptr && shownView->testAttribute(Qt::WA_WState_Created) ? shownView->winId() : 0;
    });
    Services services{timers, store, exe, *launcher, *processes, folders, fileDialog, files, *shell, crontab.get()};
    services.keyboard = desk.keyboard.get();
    services.stacking = desk.stacking.get();
    services.screenSaver = desk.screenSaver.get();
    services.data = &data;

    Program program(services);
    program.engine.setJournal(journal.get());
    MainWindowView view(program.main);
    shownView = &view;
    // A window that was never shown does not end the event loop by closing.
    const auto closeAll = [&view, windowless = options.windowless] {
        closeEverything(view);
        if (windowless)
            QCoreApplication::quit();
    };
    program.main.closeRequested = closeAll;
    program.main.openEditor = []() -> QString {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* editor = dynamic_cast<EditorDialog*>(w);
                editor && editor->isVisible() && editor->hasUnsavedEdits())
                return editor->windowTitle();
        return QString();
    };
    DialogWindowOpener opener(program, &view);
    program.main.setWindowOpener(&opener);

    // Installed before start-up, so that a TERM while the window opens is
    // still a normal close that saves, once the event loop runs.
    std::function<void()> onShutdownRequest = closeAll;
    installShutdownRequestHandler([&onShutdownRequest] { onShutdownRequest(); });
    program.start();
    applyStartOptions(program, options);
    if (!options.windowless)
        view.show();
    // A window manager may read a window's icon, some 360 KB in eight sizes,
    // before it maps the window.
    QTimer::singleShot(0, showProgramIcon);
    if (!options.windowless)
        bringToFrontOnRequest(*instance, view);
    // Read now, not while the window opens: the first wait of a pass then
    // finds the process table known.
    processes->readAhead();
    const int status = QApplication::exec();
    shownView = nullptr;
    program.main.setWindowOpener(nullptr);
    // The window has gone; an e-mail script that still sends is waited for,
    // so that how it ended is journaled. The name is free meanwhile: the
    // next start of this copy need not wait for a mail server.
    instance.reset();
    awaitEmailScripts(program, onShutdownRequest);
    // A close whose settings are not on disk is no clean end.
    if (!store.flush()) {
        std::fprintf(stderr, "ZB-SEQUENTA: closed without saving its settings: cannot write %s: %s\n",
                     qPrintable(store.filePath()), qPrintable(store.lastWriteError()));
        return status == kExitNormal ? kExitCannotRun : status;
    }
    return status;
}

} // namespace zb
