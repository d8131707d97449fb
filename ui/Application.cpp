#include "Application.h"

#include "DialogWindowOpener.h"
#include "MainWindowView.h"
#include "QtFileDialog.h"
#include "app/CommandLine.h"
#include "app/Program.h"
#include "platform/CommandShell.h"
#include "platform/Crontab.h"
#include "platform/Launcher.h"
#include "platform/ProcessQuery.h"
#include "platform/SystemServices.h"
#include "platform/qt/ArgvExecutableInfo.h"
#include "platform/qt/IniSettingsStore.h"
#include "platform/qt/QtFiles.h"
#include "platform/qt/QtTimerHost.h"
#include "platform/qt/StdFolders.h"

#include <QApplication>
#include <QDialog>

namespace zb {

namespace {

// Closes every open secondary window, then the main window, so that a close
// from a timer (the autoclose) also ends the program while an editor is open.
void closeEverything(MainWindowView& main)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(w); dialog != nullptr && dialog->isVisible())
            dialog->reject();
    main.close();
}

} // namespace

int runApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZB-SEQUENTA"));
    QApplication::setApplicationVersion(programVersion());

    QtTimerHost timers;
    IniSettingsStore store(systemSettingsFilePath());
    ArgvExecutableInfo exe(QString::fromLocal8Bit(argv[0]));
    const auto launcher = createSystemLauncher();
    const auto processes = createSystemProcessQuery();
    const auto shell = createSystemCommandShell();
    const auto crontab = createSystemCrontab();
    StdFolders folders;
    QtFileDialog fileDialog;
    QtFiles files;

    Program program(
        Services{timers, store, exe, *launcher, *processes, folders, fileDialog, files, *shell, crontab.get()});
    MainWindowView view(program.main);
    program.main.closeRequested = [&view] { closeEverything(view); };
    DialogWindowOpener opener(program, &view);
    program.main.setWindowOpener(&opener);
    // During the hold after a launch the user sees the light and status line.
    timers.beforeSleep = [&view] { view.repaint(); };

    program.start();
    view.show();
    installShutdownRequestHandler([&view] { closeEverything(view); });
    const int status = QApplication::exec();
    timers.beforeSleep = nullptr;
    program.main.setWindowOpener(nullptr);
    return status;
}

} // namespace zb
