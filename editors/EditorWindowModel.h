#pragma once

#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/WindowGeometry.h"

#include <QString>
#include <functional>

namespace zb {

// What every secondary window shares: its object name and caption, its four
// geometry keys, and a close that runs Form_Unload exactly once however the
// window ends (a button, the close box, the program closing).
class EditorWindowModel {
public:
    EditorWindowModel(const EditorWindowModel&) = delete;
    EditorWindowModel& operator=(const EditorWindowModel&) = delete;

    const QString& objectName() const { return objectName_; }
    const QString& title() const { return title_; }
    const WindowGeometry& geometry() const { return geometry_; }
    // The keys and their defaults, also the view's fallback placement.
    const keys::GeometryKeys& geometryKeys() const { return geometryKeys_; }

    // The view reports where the user moved the window, in twips.
    void setPosition(double left, double top);

    // Closes the window the normal way: through the view when one is bound
    // (its close runs Form_Unload), otherwise directly.
    void close();
    // Every close stores left and top; width and height are only ever read.
    void Form_Unload();
    bool unloaded() const { return unloaded_; }

    // Set by the view: close the real window.
    std::function<void()> closeRequested;

protected:
    EditorWindowModel(Settings& settings, const keys::GeometryKeys& geometryKeys, QString objectName, QString title);
    ~EditorWindowModel() = default;

    void loadGeometry();
    void storePosition();

    Settings& settings_;

private:
    const keys::GeometryKeys& geometryKeys_;
    QString objectName_;
    QString title_;
    WindowGeometry geometry_;
    bool unloaded_ = false;
};

} // namespace zb
