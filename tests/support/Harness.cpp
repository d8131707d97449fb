#include "Harness.h"

namespace zb::test {

Harness::Harness()
{
    launcher.now = [this] { return clock.now(); };
    journal.now = [this] { return clock.now(); };
    keyboard.now = [this] { return clock.now(); };
}

void Harness::seed(const QString& key, const QString& value) { store.seed(exe.baseName(), key, value); }

QString Harness::stored(const QString& key) const
{
    return store.getSetting(exe.baseName(), key, QStringLiteral("<absent>"));
}

Program& Harness::start()
{
    Services services{clock, store, exe, launcher, processes, folders, fileDialog, files, shell};
    services.keyboard = &keyboard;
    services.stacking = &stacking;
    services.screenSaver = &screenSaver;
    services.data = &data;
    program = std::make_unique<Program>(services);
    program->engine.setJournal(&journal);
    program->main.closeRequested = [this] {
        program->main.Form_Unload();
        clock.halt();
    };
    program->start();
    return *program;
}

} // namespace zb::test
