#pragma once

#include "app/Program.h"
#include "platform/fake/FakeCommandShell.h"
#include "platform/fake/FakeExecutableInfo.h"
#include "platform/fake/FakeFileDialog.h"
#include "platform/fake/FakeFiles.h"
#include "platform/fake/FakeFolders.h"
#include "platform/fake/FakeKeyboard.h"
#include "platform/fake/FakeLauncher.h"
#include "platform/fake/FakeProcessQuery.h"
#include "platform/fake/FakeProgramData.h"
#include "platform/fake/FakeScreenSaverInhibitor.h"
#include "platform/fake/FakeWindowStacking.h"
#include "platform/fake/MemorySettingsStore.h"
#include "platform/fake/SimulatedClock.h"
#include "tests/support/RecordingJournal.h"

#include <memory>

namespace zb::test {

// The whole program's logic over fakes and a simulated clock. Closing the
// main window ends the "process": the clock stops delivering ticks.
class Harness {
public:
    Harness();

    // Seeds a value in this copy's section.
    void seed(const QString& key, const QString& value);
    // The stored value, or "<absent>".
    QString stored(const QString& key) const;

    // Builds the program and runs the main window's start-up.
    Program& start();
    MainWindowModel& main() { return program->main; }

    // Advances the clock by whole seconds.
    void seconds(int n) { clock.advance(static_cast<SimulatedClock::Ms>(n) * 1000); }

    SimulatedClock clock;
    MemorySettingsStore store;
    FakeExecutableInfo exe;
    FakeLauncher launcher;
    FakeProcessQuery processes;
    FakeFolders folders;
    FakeFileDialog fileDialog;
    FakeFiles files;
    RecordingJournal journal;
    FakeKeyboard keyboard;
    FakeWindowStacking stacking;
    FakeScreenSaverInhibitor screenSaver;
    FakeCommandShell shell;
    FakeProgramData data;
    std::unique_ptr<Program> program;
};

} // namespace zb::test
