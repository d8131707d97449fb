#pragma once

#include "Bindings.h"
#include "WindowPlacement.h"
#include "core/WindowGeometry.h"
#include "editors/EditorWindowModel.h"

#include <QDialog>

namespace zb {

// Base of the editor windows: a modal dialog owned by its opener that takes
// its object name, caption and stored geometry from the model, keeps the
// model told where the user moved it, and runs Form_Unload once however it
// closes (a button, Enter or Esc, the close box, the program closing).
class EditorDialog : public QDialog {
public:
    EditorDialog(EditorWindowModel& model, QWidget* owner);
    ~EditorDialog() override;

    // Ends the dialog; every way of closing passes through here. With
    // unsaved edits the model may ask first, and the user may stay.
    void done(int result) override;
    bool hasUnsavedEdits() const { return model_.hasUnsavedEdits(); }
    // Ends it without a question: the program is closing.
    void closeWithoutAsking();

protected:
    // Places the window from the model's geometry and gives OK, Save, Cancel
    // and Close their Alt keys; call once the layout is built.
    void applyGeometry();
    void moveEvent(QMoveEvent* event) override;

    Bindings bindings_;

private:
    void reportPosition();
    void giveStandardMnemonics();
    EditorWindowModel::SaveAnswer askSaveChanges(const QString& question);

    EditorWindowModel& model_;
    WindowGeometry read_;
    WindowPlacement placement_;
    bool placed_ = false;
    bool closingUnasked_ = false;
};

} // namespace zb
