#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace zb {

// How the keyboard reaches an action offered on a control.
enum class ActionKeys {
    SpaceAndEnter, // Space or Enter on the focused control, and its context menu
    MenuOnly,      // its context menu only (the control keeps Space for itself)
};

// Offers what a double-click on `control` does to the keyboard as well, and
// names it in the control's context menu (right click, the Menu key or
// Shift+F10). A control offers one action; a second call replaces it.
void offerAction(QWidget* control, const QString& label, std::function<void()> act,
                 ActionKeys keys = ActionKeys::SpaceAndEnter);

} // namespace zb
