#pragma once

#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/WindowGeometry.h"

#include <QList>
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

    // The user's answer to "Save changes to TASK n?".
    enum class SaveAnswer { Save, Discard, Cancel };

    // Whether the window may close now. With unsaved edits (and no explicit
    // Cancel before), asks through askSaveChanges and saves on Save; false
    // when the user chose to stay.
    bool mayClose();
    // The question asked before closing, empty when nothing is unsaved.
    QString saveChangesQuestion() const;
    // What a close that cannot ask (a logout, a TERM, the autoclose) drops,
    // to be said on stderr; empty when nothing is unsaved.
    QString droppedEditsNote() const;

    // Edits that a close without asking would drop.
    virtual bool hasUnsavedEdits() const { return !slotsWithUnsavedEdits().isEmpty(); }

    // Closes the window the normal way: through the view when one is bound
    // (its close runs Form_Unload), otherwise directly.
    void close();
    // Every close stores left and top; width and height are only ever read.
    void Form_Unload();
    bool unloaded() const { return unloaded_; }

    // Set by the view: close the real window.
    std::function<void()> closeRequested;
    // Set by the view: asks the user before unsaved edits would be lost.
    std::function<SaveAnswer(const QString& question)> askSaveChanges;

protected:
    EditorWindowModel(Settings& settings, const keys::GeometryKeys& geometryKeys, QString objectName, QString title);
    virtual ~EditorWindowModel() = default;

    void loadGeometry();
    void storePosition();

    // The slots whose fields differ from what was loaded or last saved.
    virtual QList<int> slotsWithUnsavedEdits() const { return {}; }
    // Saves them, as the window's Save button does.
    virtual void saveEdits() {}
    // The next close drops unsaved edits without a question (Cancel).
    void discardEditsOnClose() { discardEdits_ = true; }
    // Before anything replaces the fields: asks as a close does; false when
    // the user chose to keep the edits where they are.
    bool mayDropEdits();
    // Runs once as the window unloads, before its position is stored: a
    // window stops its own timers here.
    virtual void unloading() {}

    Settings& settings_;

private:
    QString editedSlotNames() const;

    const keys::GeometryKeys& geometryKeys_;
    QString objectName_;
    QString title_;
    WindowGeometry geometry_;
    bool unloaded_ = false;
    bool discardEdits_ = false;
};

} // namespace zb
