#include "EditorDialog.h"

#include "WindowPlacement.h"
#include "editors/EditorWindowModel.h"

namespace zb {

EditorDialog::EditorDialog(EditorWindowModel& model, QWidget* owner) : QDialog(owner), model_(model)
{
    setObjectName(model_.objectName());
    setWindowTitle(model_.title());
    setModal(true);
    model_.closeRequested = [this] { done(QDialog::Accepted); };
}

EditorDialog::~EditorDialog() { model_.closeRequested = nullptr; }

void EditorDialog::applyGeometry()
{
    read_ = model_.geometry();
    const keys::GeometryKeys& d = model_.geometryKeys();
    placedAt_ = WindowPlacement::apply(this, read_, {d.left, d.top, d.width, d.height});
    placed_ = true;
}

void EditorDialog::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    if (isVisible())
        reportPosition();
}

void EditorDialog::reportPosition()
{
    if (!placed_)
        return;
    // Unmoved, the window keeps the position it read, to the fraction.
    double left = read_.left;
    double top = read_.top;
    WindowPlacement::position(this, placedAt_, left, top);
    model_.setPosition(left, top);
}

void EditorDialog::done(int result)
{
    reportPosition();
    model_.Form_Unload();
    QDialog::done(result);
}

} // namespace zb
