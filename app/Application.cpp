#include "Application.h"

#include "CommandLine.h"
#include "DialogWindowOpener.h"
#include "NotRunNotice.h"
#include "Program.h"
#include "ScheduledStart.h"
#include "SystemJournal.h"
#include "platform/CommandShell.h"
#include "platform/Crontab.h"
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
#include "ui/EditorDialog.h"
#include "ui/MainWindowView.h"
#include "ui/ProgramIdentity.h"
#include "ui/QtFileDialog.h"
#include "ui/SingleInstanceGuard.h"

#include <QApplication>
#include <QDialog>

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

} // namespace

int runApplication(int argc, char** argv, const StartOptions& options)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZB-SEQUENTA"));
    QApplication::setApplicationVersion(programVersion());
    applyProgramIdentity();
    useProgramLanguageForSystemMessages();

    ArgvExecutableInfo exe(QString::fromLocal8Bit(argv[0]));
    // A second copy of the same name leaves the settings alone.
    auto instance = createSystemSingleInstance();
    if (!claimOrHandOver(*instance, exe.baseName(), !options.windowless && !standardErrorIsTerminal())) {
        if (options.scheduled)
            tellScheduledStartNotRun(exe, otherCopyRunsRecord());
        return 1;
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
    installShutdownRequestHandler(closeAll);
    program.start();
    applyStartOptions(program, options);
    if (!options.windowless)
        view.show();
    if (!options.windowless)
        bringToFrontOnRequest(*instance, view);
    const int status = QApplication::exec();
    shownView = nullptr;
    program.main.setWindowOpener(nullptr);
    // The window has gone; an e-mail script that still sends is waited for,
    // so that how it ended is journaled. The name is free meanwhile: the
    // next start of this copy need not wait for a mail server.
    instance.reset();
    program.engine.run().awaitEmails(RunControl::kEmailGraceMs);
    return status;
}

} // namespace zb
