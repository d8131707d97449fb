#include "TaskLight.h"

#include "EditorStyle.h"
#include "core/Control.h"
#include "core/ControlTexts.h"

#include <QPainter>

namespace zb {

LightState lightState(Colour background, const QString& toolTip)
{
    switch (background) {
    case colour::Cyan:
        return LightState::Running;
    case colour::Green:
        return LightState::Done;
    case colour::Red:
        return toolTip.isEmpty() ? LightState::Skipped : LightState::Failed;
    default:
        return LightState::NotRun;
    }
}

QString lightWords(int slot, LightState state, const QString& toolTip)
{
    QString words;
    switch (state) {
    case LightState::NotRun:
        words = text::kLightNotRun;
        break;
    case LightState::Running:
        // "still running, pid 42" says more than "running".
        words = toolTip.isEmpty() ? text::kLightRunning : toolTip;
        break;
    case LightState::Done:
        words = text::kLightDone;
        break;
    case LightState::Skipped:
        words = text::kLightSkipped;
        break;
    case LightState::Failed:
        words = toolTip.isEmpty() ? text::kLightFailed : toolTip;
        break;
    }
    return QStringLiteral("Slot %1: %2").arg(slot).arg(words);
}

QString lightMark(LightState state)
{
    switch (state) {
    case LightState::Running:
        return QStringLiteral("\u2026"); // …
    case LightState::Done:
        return QStringLiteral("\u2713"); // ✓
    case LightState::Skipped:
        return QStringLiteral("\u2013"); // –
    case LightState::Failed:
        return QStringLiteral("\u2715"); // ✕
    case LightState::NotRun:
        break;
    }
    return {};
}

TaskLightEdit::TaskLightEdit(int slot, const TextField& model) : slot_(slot), model_(model)
{
    setAlignment(Qt::AlignCenter);
    setFont(style::bold());
    // Room for the number and a mark on either side, so the number stays
    // centred.
    style::fitWidth(this, QStringLiteral("\u2715 20 \u2715"));
    follow();
}

void TaskLightEdit::follow()
{
    const LightState state = lightState(model_.background(), model_.toolTip());
    setAccessibleName(lightWords(slot_, state, model_.toolTip()));
    // White is a plain field's colour: in a dark theme a light not run is
    // the theme's field, not twenty white boxes.
    if (state == LightState::NotRun && testAttribute(Qt::WA_SetPalette))
        setPalette(QPalette());
    const QString mark = lightMark(state);
    if (mark != mark_) {
        mark_ = mark;
        update();
    }
}

void TaskLightEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    if (mark_.isEmpty())
        return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::Text));
    const QRect room = rect().adjusted(fontMetrics().averageCharWidth() / 2 + 2, 0, 0, 0);
    p.drawText(room, Qt::AlignVCenter | Qt::AlignLeft, mark_);
}

} // namespace zb
