#include "Bindings.h"

#include "core/Control.h"

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

// Captions show exactly as stored: an '&' is a character, never a shortcut.
QString literalCaption(const QString& caption)
{
    QString out = caption;
    return out.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Re-renders a field when it gets its parent, so that visibility is applied
// only inside a window: a parentless widget made visible would become a
// window of its own.
class ParentChangeFilter : public QObject {
public:
    ParentChangeFilter(QObject* parent, std::function<void()> onParentChange)
        : QObject(parent),
          onParentChange_(std::move(onParentChange))
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ParentChange)
            onParentChange_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> onParentChange_;
};

void setRole(QWidget* w, QPalette::ColorRole role, const QColor& c)
{
    QPalette p = w->palette();
    if (p.color(role) == c)
        return;
    p.setColor(role, c);
    w->setPalette(p);
}

} // namespace

QColor toQColor(Colour c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

Bindings::~Bindings()
{
    for (Control* c : bound_)
        c->setChangeListener({});
}

QCheckBox* Bindings::bind(TickBox& model, QCheckBox* widget)
{
    widget->setObjectName(model.objectName());
    auto render = [&model, widget] {
        const QSignalBlocker block(widget);
        widget->setChecked(model.ticked());
        widget->setText(literalCaption(model.caption()));
        widget->setEnabled(model.enabled());
        widget->setToolTip(model.toolTip());
        // Styles draw a check box's own area; only a style sheet fills it
        // reliably.
        const QString sheet =
            model.background() == colour::None
                ? QString()
                : QStringLiteral("QCheckBox { background-color: %1; }").arg(toQColor(model.background()).name());
        if (widget->styleSheet() != sheet)
            widget->setStyleSheet(sheet);
    };
    render();
    model.setChangeListener(render);
    QObject::connect(widget, &QCheckBox::clicked, widget, [&model, render](bool checked) {
        model.setValue(checked ? 1 : 0);
        render(); // a refused change puts the widget back
    });
    bound_.push_back(&model);
    return widget;
}

QLineEdit* Bindings::bind(TextField& model, QLineEdit* widget)
{
    widget->setObjectName(model.objectName());
    auto render = [&model, widget] {
        if (widget->text() != model.text()) {
            const QSignalBlocker block(widget);
            widget->setText(model.text());
            widget->setCursorPosition(0);
        }
        widget->setReadOnly(model.locked());
        widget->setToolTip(model.toolTip());
        if (widget->parentWidget() != nullptr)
            widget->setVisible(model.visible());
        else if (!model.visible())
            widget->hide();
        widget->setEchoMode(model.masked() ? QLineEdit::Password : QLineEdit::Normal);
        // A mask shows one "*" per character, whatever the style's own dot.
        const QString sheet =
            model.masked() ? QStringLiteral("QLineEdit { lineedit-password-character: 42; }") : QString();
        if (widget->styleSheet() != sheet)
            widget->setStyleSheet(sheet);
        setRole(widget, QPalette::Base, toQColor(model.background()));
        setRole(widget, QPalette::Text, toQColor(model.foreground()));
    };
    render();
    model.setChangeListener(render);
    QObject::connect(widget, &QLineEdit::textEdited, widget, [&model](const QString& text) { model.edit(text); });
    widget->installEventFilter(new DoubleClickFilter(widget, [&model] { model.doubleClick(); }));
    if (widget->parentWidget() == nullptr)
        widget->installEventFilter(new ParentChangeFilter(widget, render));
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
    };
    render();
    model.setChangeListener(render);
    bound_.push_back(&model);
    return widget;
}

QPushButton* Bindings::bind(Button& model, QPushButton* widget)
{
    widget->setObjectName(model.objectName());
    auto render = [&model, widget] {
        widget->setText(literalCaption(model.caption()));
        widget->setEnabled(model.enabled());
        widget->setToolTip(model.toolTip());
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
        if (filled)
            setRole(widget, QPalette::Window, toQColor(model.background()));
        if (model.foreground() != colour::None)
            setRole(widget, QPalette::WindowText, toQColor(model.foreground()));
    };
    render();
    model.setChangeListener(render);
    bound_.push_back(&model);
    return widget;
}

} // namespace zb
