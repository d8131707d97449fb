#pragma once

#include <QFont>
#include <initializer_list>

class QFrame;
class QLabel;
class QLineEdit;
class QVBoxLayout;
class QWidget;

namespace zb {
class Bindings;
class Label;
} // namespace zb

namespace zb::style {

QFont bold(int pointSize = 0);

// The top-level layout every window is built in, with its usual margins.
QVBoxLayout* windowLayout(QWidget* window, int spacing = 10, int margin = 10);

// The green-on-black strip of title labels along the top of a window.
QFrame* titleStrip(Bindings& bindings, std::initializer_list<Label*> labels);

// A locked, centred, bold text field used as a slot number.
QLineEdit* slotNumber(int width = 34);

// Thin divider lines.
QFrame* horizontalRule();
QFrame* verticalRule();

} // namespace zb::style
