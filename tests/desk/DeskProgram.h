#pragma once

#include "app/Program.h"
#include "platform/SystemDesk.h"
#include "platform/fake/FakeCommandShell.h"
#include "platform/fake/FakeExecutableInfo.h"
#include "platform/fake/FakeFileDialog.h"
#include "platform/fake/FakeFiles.h"
#include "platform/fake/FakeFolders.h"
#include "platform/fake/FakeLauncher.h"
#include "platform/fake/FakeProcessQuery.h"
#include "platform/fake/MemorySettingsStore.h"
#include "ui/MainWindowView.h"

#include <memory>

namespace zb::test {

// The program over the system's real desk services (keyboard, window
// stacking, screensaver inhibition) and the given timers; the rest is fake.
class DeskProgram {
public:
    explicit DeskProgram(TimerHost& timers)
        : desk(createSystemDesk(
              [this]() -> WindowId { return view && view->testAttribute(Qt::WA_WState_Created) ? view->winId() : 0; }))
    {
        Services services{timers, store, exe, launcher, processes, folders, fileDialog, files, shell};
        services.keyboard = desk.keyboard.get();
        services.stacking = desk.stacking.get();
        services.screenSaver = desk.screenSaver.get();
        program = std::make_unique<Program>(services);
    }
    ~DeskProgram()
    {
        view.reset();
        program.reset();
    }

    void seed(const QString& key, const QString& value) { store.seed(exe.baseName(), key, value); }
    MainWindowModel& start()
    {
        program->start();
        return program->main;
    }
    // Shows the main window on the screen.
    MainWindowView& show()
    {
        view = std::make_unique<MainWindowView>(program->main);
        view->show();
        return *view;
    }

    MemorySettingsStore store;
    FakeExecutableInfo exe;
    FakeLauncher launcher;
    FakeProcessQuery processes;
    FakeFolders folders;
    FakeFileDialog fileDialog;
    FakeFiles files;
    FakeCommandShell shell;
    std::unique_ptr<MainWindowView> view;
    SystemDesk desk;
    std::unique_ptr<Program> program;
};

} // namespace zb::test
