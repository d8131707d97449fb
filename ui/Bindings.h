#pragma once

#include "core/Colour.h"

#include <QColor>
#include <functional>
#include <vector>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace zb {

class Button;
class Control;
class Label;
class TextField;
class TickBox;

QColor toQColor(Colour c);
Colour fromQColor(const QColor& c);

// Binds control models to widgets: each widget takes its model's object name,
// shows the model's state at once and after every change, and hands the
// user's clicks, double-clicks and typing to the model. Unbinds on
// destruction, so a model may outlive its view.
//
// A colour the model sets comes with a text colour that reads on it, in any
// theme. A read-only field takes the focus by a click only, never by Tab. An
// ElidingCheckBox shortens a caption that does not fit.
class Bindings {
public:
    Bindings() = default;
    Bindings(const Bindings&) = delete;
    Bindings& operator=(const Bindings&) = delete;
    ~Bindings();

    QCheckBox* bind(TickBox& model, QCheckBox* widget);
    // `follow` runs after each render, for what the view adds of its own (a
    // light's mark, an icon button's spoken name).
    QLineEdit* bind(TextField& model, QLineEdit* widget, std::function<void()> follow = {});
    // Shows a long text read-only, with scroll bars.
    QPlainTextEdit* bind(TextField& model, QPlainTextEdit* widget);
    QPushButton* bind(Button& model, QPushButton* widget, std::function<void()> follow = {});
    QLabel* bind(Label& model, QLabel* widget);

private:
    std::vector<Control*> bound_;
};

} // namespace zb
