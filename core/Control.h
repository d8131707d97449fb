#pragma once

#include "Colour.h"

#include <QString>
#include <functional>
#include <utility>

namespace zb {

// Base of every window control model: an object name and one change listener
// (the view that renders it).
class Control {
public:
    explicit Control(QString objectName) : objectName_(std::move(objectName)) {}
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    const QString& objectName() const { return objectName_; }

    void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }

protected:
    void changed() const
    {
        if (listener_)
            listener_();
    }

    template <typename T>
    void assign(T& field, const T& value)
    {
        if (field == value)
            return;
        field = value;
        changed();
    }

private:
    QString objectName_;
    std::function<void()> listener_;
};

// A text label, on the window's background and in its text colour unless
// given colours of its own.
class Label : public Control {
public:
    Label(QString objectName, QString caption) : Control(std::move(objectName)), caption_(std::move(caption)) {}

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption) { assign(caption_, caption); }
    Colour background() const { return background_; }
    void setBackground(Colour c) { assign(background_, c); }
    Colour foreground() const { return foreground_; }
    void setForeground(Colour c) { assign(foreground_, c); }

private:
    QString caption_;
    Colour background_ = colour::None;
    Colour foreground_ = colour::None;
};

// A push button. click() is the user's click: it runs onClick when enabled.
class Button : public Control {
public:
    Button(QString objectName, QString caption) : Control(std::move(objectName)), caption_(std::move(caption)) {}

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption) { assign(caption_, caption); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { assign(enabled_, enabled); }
    const QString& toolTip() const { return toolTip_; }
    void setToolTip(const QString& tip) { assign(toolTip_, tip); }
    // What a screen reader calls it when its caption alone does not say.
    const QString& accessibleName() const { return accessibleName_; }
    void setAccessibleName(const QString& name) { assign(accessibleName_, name); }

    void click()
    {
        if (enabled_ && onClick)
            onClick();
    }

    std::function<void()> onClick;

private:
    QString caption_;
    QString toolTip_;
    QString accessibleName_;
    bool enabled_ = true;
};

// A tick box holding 0 (clear) or 1 (ticked). Changing the value from code
// runs the click handling exactly as a user click does, but only when the
// value really changes.
class TickBox : public Control {
public:
    TickBox(QString objectName, QString caption, int value = 0)
        : Control(std::move(objectName)),
          caption_(std::move(caption)),
          value_(value)
    {}

    int value() const { return value_; }
    bool ticked() const { return value_ != 0; }
    void setValue(int value)
    {
        if (value == value_)
            return;
        value_ = value;
        changed();
        if (onClick)
            onClick();
    }
    // The user's click: toggles the tick when the box is enabled.
    void click()
    {
        if (enabled_)
            setValue(value_ != 0 ? 0 : 1);
    }

    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption) { assign(caption_, caption); }
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled) { assign(enabled_, enabled); }
    Colour background() const { return background_; }
    void setBackground(Colour c) { assign(background_, c); }
    const QString& toolTip() const { return toolTip_; }
    void setToolTip(const QString& tip) { assign(toolTip_, tip); }

    std::function<void()> onClick;

private:
    QString caption_;
    QString toolTip_;
    int value_ = 0;
    bool enabled_ = true;
    Colour background_ = colour::None;
};

// A text field; also used as a coloured light. onDoubleClick is the user's
// double-click. Without colours of its own it shows the theme's.
class TextField : public Control {
public:
    TextField(QString objectName, QString text) : Control(std::move(objectName)), text_(std::move(text)) {}

    const QString& text() const { return text_; }
    void setText(const QString& text)
    {
        if (text == text_)
            return;
        assign(text_, text);
        if (onTextChanged)
            onTextChanged();
    }
    Colour background() const { return background_; }
    void setBackground(Colour c) { assign(background_, c); }
    Colour foreground() const { return foreground_; }
    void setForeground(Colour c) { assign(foreground_, c); }
    const QString& toolTip() const { return toolTip_; }
    void setToolTip(const QString& tip) { assign(toolTip_, tip); }
    bool locked() const { return locked_; }
    void setLocked(bool locked) { assign(locked_, locked); }
    bool visible() const { return visible_; }
    void setVisible(bool visible) { assign(visible_, visible); }
    // Shown as a row of "*" (a password field).
    bool masked() const { return masked_; }
    void setMasked(bool masked) { assign(masked_, masked); }

    // The user typed: the view reports the new text. A NUL is refused (the
    // view shows the text as it was): no setting can hold one.
    void edit(const QString& text)
    {
        if (locked_ || text.contains(QChar(0))) {
            changed();
            return;
        }
        setText(text);
    }
    void doubleClick()
    {
        if (onDoubleClick)
            onDoubleClick();
    }

    std::function<void()> onDoubleClick;
    // After every change of the text, typed or set from code.
    std::function<void()> onTextChanged;

private:
    QString text_;
    QString toolTip_;
    Colour background_ = colour::None;
    Colour foreground_ = colour::None;
    bool locked_ = false;
    bool visible_ = true;
    bool masked_ = false;
};

} // namespace zb
