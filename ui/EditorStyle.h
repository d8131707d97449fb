#pragma once

#include <QFont>
#include <initializer_list>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace zb {
class Bindings;
class Label;
} // namespace zb

namespace zb::style {

QFont bold(int pointSize = 0);
// Bold, `factor` times the size of the system font: follows a larger font.
QFont boldScaled(double factor);

// The top-level layout every window is built in, with its usual margins.
QVBoxLayout* windowLayout(QWidget* window, int spacing = 10, int margin = 10);

// The green-on-black strip of title labels along the top of a window.
QFrame* titleStrip(Bindings& bindings, std::initializer_list<Label*> labels);

// A locked, centred, bold text field used as a slot number.
QLineEdit* slotNumber();

// Fixes a field's width to what shows `sample` whole in the field's font, and
// again whenever the font or the style changes: widths follow the font, so a
// larger font cuts no text.
void fitWidth(QLineEdit* field, const QString& sample);
// The width of `chars` average characters in a widget's font.
int charsWide(const QWidget* widget, int chars);
// A small square button as high as a text field beside it.
void squareButton(QWidget* button);
// Gives a window's OK, Save or Cancel the width of a dozen characters at least.
void wideButton(QWidget* button);

// The confirming, dropping and applying buttons of a window, in the
// desktop's order. The confirming one is the default; the others are never
// pressed by Enter.
QWidget* dialogButtons(QPushButton* confirm, QPushButton* drop = nullptr, QPushButton* apply = nullptr);

// Thin divider lines.
QFrame* horizontalRule();
QFrame* verticalRule();

} // namespace zb::style
