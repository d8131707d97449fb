#include "EditorWindowModel.h"

#include <QStringList>
#include <utility>

namespace zb {

EditorWindowModel::EditorWindowModel(Settings& settings, const keys::GeometryKeys& geometryKeys, QString objectName,
                                     QString title)
    : settings_(settings),
      geometryKeys_(geometryKeys),
      objectName_(std::move(objectName)),
      title_(std::move(title)),
      geometry_{geometryKeys.left, geometryKeys.top, geometryKeys.width, geometryKeys.height}
{}

void EditorWindowModel::setPosition(double left, double top)
{
    geometry_.left = left;
    geometry_.top = top;
}

QString EditorWindowModel::editedSlotNames() const
{
    const QList<int> edited = slotsWithUnsavedEdits();
    if (edited.isEmpty())
        return {};
    QStringList names;
    for (int n : edited)
        names << QStringLiteral("TASK %1").arg(n);
    const QString last = names.takeLast();
    return names.isEmpty() ? last : names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

QString EditorWindowModel::saveChangesQuestion() const
{
    const QString names = editedSlotNames();
    return names.isEmpty() ? QString() : QStringLiteral("Save changes to %1?").arg(names);
}

QString EditorWindowModel::droppedEditsNote() const
{
    const QString names = editedSlotNames();
    return names.isEmpty() ? QString()
                           : QStringLiteral("the window %1 was closed with nobody to ask: its unsaved changes to %2 "
                                            "were not saved")
                                 .arg(title_, names);
}

bool EditorWindowModel::mayClose() { return discardEdits_ || mayDropEdits(); }

bool EditorWindowModel::mayDropEdits()
{
    if (!askSaveChanges)
        return true;
    const QString question = saveChangesQuestion();
    if (question.isEmpty())
        return true;
    switch (askSaveChanges(question)) {
    case SaveAnswer::Save:
        saveEdits();
        return true;
    case SaveAnswer::Discard:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

void EditorWindowModel::close()
{
    if (closeRequested)
        closeRequested(); // the view asks, as for every other way of closing
    else if (mayClose())
        Form_Unload();
}

void EditorWindowModel::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    unloading();
    storePosition();
}

void EditorWindowModel::loadGeometry() { geometry_ = settings_.readGeometry(geometryKeys_); }

void EditorWindowModel::storePosition() { settings_.writePosition(geometryKeys_, geometry_.left, geometry_.top); }

} // namespace zb
