#pragma once

#include "Bindings.h"
#include "core/WindowGeometry.h"

#include <QDialog>

namespace zb {

class EditorWindowModel;

// Base of the editor windows: a modal dialog owned by its opener that takes
// its object name, caption and stored geometry from the model, keeps the
// model told where the user moved it, and runs Form_Unload once however it
// closes (a button, Enter or Esc, the close box, the program closing).
class EditorDialog : public QDialog {
public:
    EditorDialog(EditorWindowModel& model, QWidget* owner);
    ~EditorDialog() override;

    // Ends the dialog; every way of closing passes through here.
    void done(int result) override;

protected:
    // Places the window from the model's geometry; call once the layout is
    // built.
    void applyGeometry();
    void moveEvent(QMoveEvent* event) override;

    Bindings bindings_;

private:
    void reportPosition();

    EditorWindowModel& model_;
    WindowGeometry read_;
    QPoint placedAt_;
    bool placed_ = false;
};

} // namespace zb
