#include "EditorDialog.h"

#include "FocusRing.h"
#include "Mnemonic.h"
#include "WindowPlacement.h"
#include "editors/EditorWindowModel.h"

#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace zb {

EditorDialog::EditorDialog(EditorWindowModel& model, QWidget* owner) : QDialog(owner), model_(model)
{
    setObjectName(model_.objectName());
    setWindowTitle(model_.title());
    setModal(true);
    FocusRing::install();
    model_.closeRequested = [this] { done(QDialog::Accepted); };
    model_.askSaveChanges = [this](const QString& question) { return askSaveChanges(question); };
}

EditorDialog::~EditorDialog()
{
    model_.closeRequested = nullptr;
    model_.askSaveChanges = nullptr;
}

EditorWindowModel::SaveAnswer EditorDialog::askSaveChanges(const QString& question)
{
    QMessageBox box(QMessageBox::Question, model_.title(), question,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    box.setObjectName(QStringLiteral("SAVE_CHANGES_QUESTION"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save:
        return EditorWindowModel::SaveAnswer::Save;
    case QMessageBox::Discard:
        return EditorWindowModel::SaveAnswer::Discard;
    default:
        return EditorWindowModel::SaveAnswer::Cancel;
    }
}

void EditorDialog::closeWithoutAsking()
{
    if (const QString dropped = model_.droppedEditsNote(); !dropped.isEmpty())
        std::fprintf(stderr, "ZB-SEQUENTA: %s\n", qPrintable(dropped));
    closingUnasked_ = true;
    reject();
}

void EditorDialog::applyGeometry()
{
    giveStandardMnemonics();
    read_ = model_.geometry();
    const keys::GeometryKeys& d = model_.geometryKeys();
    placement_.apply(this, read_, {d.left, d.top, d.width, d.height});
    placed_ = true;
}

void EditorDialog::giveStandardMnemonics()
{
    const struct {
        const char* button;
        char key;
    } keys[] = {{"OK_BUTTON", 'O'}, {"SAVE_BUTTON", 'S'}, {"CANCEL_BUTTON", 'C'}, {"CLOSE_BUTTON", 'C'}};
    for (const auto& k : keys)
        if (auto* b = findChild<QPushButton*>(QLatin1String(k.button)))
            giveMnemonic(b, QLatin1Char(k.key));
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
    placement_.position(left, top);
    model_.setPosition(left, top);
}

void EditorDialog::done(int result)
{
    if (!model_.unloaded() && !closingUnasked_) {
        if (!model_.mayClose())
            return;
        if (model_.unloaded())
            return; // the program closed it while the question was open
    }
    reportPosition();
    model_.Form_Unload();
    QDialog::done(result);
}

} // namespace zb
