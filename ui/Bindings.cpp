#include "Bindings.h"

#include "ElidingCheckBox.h"
#include "Mnemonic.h"
#include "core/ColourContrast.h"
#include "core/Control.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace zb {

namespace {

// Hands a widget's double-clicks to a callback.
class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QObject* parent, std::function<void()> onDoubleClick)
        : QObject(parent),
          onDoubleClick_(std::move(onDoubleClick))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick) {
            onDoubleClick_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onDoubleClick_;
};

// Renders a widget again when the theme changes, so that its text colours
// are chosen against the new one, and runs `onParent` when it gets its
// parent: what depends on the parent is applied then, not the whole render
// again (the window would draw every bound widget twice while it is built).
class RerenderFilter : public QObject {
public:
    RerenderFilter(QObject* parent, std::function<void()> render, std::function<void()> onParent)
        : QObject(parent),
          render_(std::move(render)),
          onParent_(std::move(onParent))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange)
            render_();
        else if (event->type() == QEvent::ParentChange && onParent_)
            onParent_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> render_;
    std::function<void()> onParent_;
};

// The theme's palette for a widget of its kind, whatever was set on it.
QPalette themePalette(const QWidget* w) { return QApplication::palette(w); }

// Shows a model's colours on a widget's background and text roles: a colour
// the model leaves unset is the theme's, and the text always reads on the
// background.
void setColours(QWidget* w, Colour background, Colour text, QPalette::ColorRole backgroundRole,
                QPalette::ColorRole textRole)
{
    if (background == colour::None && text == colour::None) {
        if (w->testAttribute(Qt::WA_SetPalette))
            w->setPalette(QPalette());
        return;
    }
    const QPalette theme = themePalette(w);
    const Colour back = background != colour::None ? background : fromQColor(theme.color(backgroundRole));
    const Colour fore = readableTextOn(back, text != colour::None ? text : fromQColor(theme.color(textRole)));
    QPalette p = w->palette();
    // Colours merely inherited from today's parent are set all the same, so
    // that another parent's palette never shows through.
    if (p.isBrushSet(QPalette::Active, backgroundRole) && p.isBrushSet(QPalette::Active, textRole) &&
        p.color(backgroundRole) == toQColor(back) && p.color(textRole) == toQColor(fore))
        return;
    p.setColor(backgroundRole, toQColor(back));
    p.setColor(textRole, toQColor(fore));
    w->setPalette(p);
}

void watchForRerender(QWidget* w, const std::function<void()>& render, std::function<void()> onParent = {})
{
    w->installEventFilter(new RerenderFilter(w, render, std::move(onParent)));
}

// Visibility applies only inside a window: a parentless widget made visible
// would become a window of its own.
void showIfWanted(QWidget* w, bool visible)
{
    if (w->parentWidget() != nullptr)
        w->setVisible(visible);
    else if (!visible)
        w->hide();
}

} // namespace

QColor toQColor(Colour c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

Colour fromQColor(const QColor& c) { return Colour(c.red()) | Colour(c.green()) << 8 | Colour(c.blue()) << 16; }

Bindings::~Bindings()
{
    for (Control* c : bound_)
        c->setChangeListener({});
}

QCheckBox* Bindings::bind(TickBox& model, QCheckBox* widget)
{
    widget->setObjectName(model.objectName());
    auto* eliding = dynamic_cast<ElidingCheckBox*>(widget);
    auto render = [&model, widget, eliding] {
        const QSignalBlocker block(widget);
        widget->setChecked(model.ticked());
        if (eliding != nullptr) {
            eliding->setFullToolTip(model.toolTip());
            eliding->setFullText(model.caption());
        } else {
            widget->setText(literalCaption(model.caption()));
            widget->setToolTip(model.toolTip());
        }
        widget->setEnabled(model.enabled());
        // Styles draw a check box's own area; only a style sheet fills it
        // reliably.
        QString sheet;
        if (model.background() != colour::None) {
            const Colour text =
                readableTextOn(model.background(), fromQColor(themePalette(widget).color(QPalette::WindowText)));
            sheet = QStringLiteral("QCheckBox { background-color: %1; color: %2; }")
                        .arg(toQColor(model.background()).name(), toQColor(text).name());
        }
        if (widget->styleSheet() != sheet)
            widget->setStyleSheet(sheet);
    };
    render();
    model.setChangeListener(render);
    watchForRerender(widget, render);
    QObject::connect(widget, &QCheckBox::clicked, widget, [&model, render](bool checked) {
        model.setValue(checked ? 1 : 0);
        render(); // a refused change puts the widget back
    });
    bound_.push_back(&model);
    return widget;
}

QLineEdit* Bindings::bind(TextField& model, QLineEdit* widget, std::function<void()> follow)
{
    widget->setObjectName(model.objectName());
    auto render = [&model, widget, follow = std::move(follow)] {
        if (widget->text() != model.text()) {
            const QSignalBlocker block(widget);
            widget->setText(model.text());
            widget->setCursorPosition(0);
        }
        widget->setReadOnly(model.locked());
        if (widget->focusPolicy() != Qt::NoFocus)
            widget->setFocusPolicy(model.locked() ? Qt::ClickFocus : Qt::StrongFocus);
        widget->setToolTip(model.toolTip());
        showIfWanted(widget, model.visible());
        widget->setEchoMode(model.masked() ? QLineEdit::Password : QLineEdit::Normal);
        // A mask shows one "*" per character, whatever the style's own dot.
        const QString sheet =
            model.masked() ? QStringLiteral("QLineEdit { lineedit-password-character: 42; }") : QString();
        if (widget->styleSheet() != sheet)
            widget->setStyleSheet(sheet);
        setColours(widget, model.background(), model.foreground(), QPalette::Base, QPalette::Text);
        if (follow)
            follow();
    };
    render();
    model.setChangeListener(render);
    QObject::connect(widget, &QLineEdit::textEdited, widget, [&model](const QString& text) { model.edit(text); });
    widget->installEventFilter(new DoubleClickFilter(widget, [&model] { model.doubleClick(); }));
    watchForRerender(widget, render, [&model, widget] { showIfWanted(widget, model.visible()); });
    bound_.push_back(&model);
    return widget;
}

QPlainTextEdit* Bindings::bind(TextField& model, QPlainTextEdit* widget)
{
    widget->setObjectName(model.objectName());
    widget->setReadOnly(true);
    auto render = [&model, widget] {
        if (widget->toPlainText() != model.text())
            widget->setPlainText(model.text());
        widget->setToolTip(model.toolTip());
        setColours(widget, model.background(), model.foreground(), QPalette::Base, QPalette::Text);
    };
    render();
    model.setChangeListener(render);
    watchForRerender(widget, render);
    bound_.push_back(&model);
    return widget;
}

QPushButton* Bindings::bind(Button& model, QPushButton* widget, std::function<void()> follow)
{
    widget->setObjectName(model.objectName());
    auto render = [&model, widget, follow = std::move(follow)] {
        widget->setText(withMnemonic(literalCaption(model.caption()), mnemonicOf(widget)));
        widget->setEnabled(model.enabled());
        widget->setToolTip(model.toolTip());
        if (!model.accessibleName().isEmpty())
            widget->setAccessibleName(model.accessibleName());
        if (follow)
            follow();
    };
    render();
    model.setChangeListener(render);
    QObject::connect(widget, &QPushButton::clicked, widget, [&model] { model.click(); });
    bound_.push_back(&model);
    return widget;
}

QLabel* Bindings::bind(Label& model, QLabel* widget)
{
    widget->setObjectName(model.objectName());
    widget->setTextFormat(Qt::PlainText);
    auto render = [&model, widget] {
        widget->setText(model.caption());
        const bool filled = model.background() != colour::None;
        widget->setAutoFillBackground(filled);
        // A label without colours of its own keeps whatever its window gave it.
        if (filled || model.foreground() != colour::None)
            setColours(widget, model.background(), model.foreground(), QPalette::Window, QPalette::WindowText);
    };
    render();
    model.setChangeListener(render);
    watchForRerender(widget, render);
    bound_.push_back(&model);
    return widget;
}

} // namespace zb
