#pragma once

#include "core/WindowOpener.h"

class QWidget;

namespace zb {

class Program;
class EmailMainSettingsWindowModel;

// Opens each secondary window as a modal dialog owned by the window that
// asked (the active modal dialog, else the main window) and returns when it
// closes. The main window's timers keep running meanwhile.
class DialogWindowOpener : public WindowOpener {
public:
    DialogWindowOpener(Program& program, QWidget* mainWindow);

    void showModal(WindowKind kind) override;

private:
    QWidget* owner() const;
    template <typename View, typename Model>
    void run(Model& model);

    Program& program_;
    QWidget* mainWindow_;
    // The e-mail settings window while it is open: the shared settings copy
    // into it.
    EmailMainSettingsWindowModel* emailWindow_ = nullptr;
};

} // namespace zb
