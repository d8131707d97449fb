#pragma once

#include "Bindings.h"
#include "WindowPlacement.h"
#include "core/WindowGeometry.h"
#include "editors/EditorWindowModel.h"

#include <QDialog>
#include <vector>

class QBoxLayout;
class QScrollArea;
class QVBoxLayout;

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
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // A column under `root` for the window's contents. It scrolls when the
    // screen is too small for them, so what is added to `root` after it (OK,
    // Cancel) stays in reach at the bottom.
    QVBoxLayout* scrollingBody(QBoxLayout* root);
    // Lays `row` out top to bottom when the screen is too narrow for it side
    // by side; a divider in it turns with it.
    void stackWhenNarrow(QBoxLayout* row);
    // What a window may take of its screen.
    QSize roomOnScreen() const;

    Bindings bindings_;

private:
    void reportPosition();
    // Lets the contents shrink, and scroll, as far as the screen needs.
    void limitToScreen();
    void giveStandardMnemonics();
    EditorWindowModel::SaveAnswer askSaveChanges(const QString& question);

    EditorWindowModel& model_;
    WindowGeometry read_;
    WindowPlacement placement_;
    QScrollArea* scroll_ = nullptr;
    std::vector<QBoxLayout*> stackable_;
    bool placed_ = false;
    bool screenWatched_ = false;
    bool closingUnasked_ = false;
};

} // namespace zb
