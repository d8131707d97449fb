#include "EditorWindowModel.h"

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

void EditorWindowModel::close()
{
    if (closeRequested)
        closeRequested();
    else
        Form_Unload();
}

void EditorWindowModel::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    storePosition();
}

void EditorWindowModel::loadGeometry() { geometry_ = settings_.readGeometry(geometryKeys_); }

void EditorWindowModel::storePosition() { settings_.writePosition(geometryKeys_, geometry_.left, geometry_.top); }

} // namespace zb
