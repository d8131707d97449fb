#include "ElidingCheckBox.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionButton>

namespace zb {

namespace {
// The longest caption a tick box asks room for, and the shortest.
constexpr int kWidestChars = 28;
const QString kShortest = QStringLiteral("TASK 20");
} // namespace

QString literalCaption(const QString& caption)
{
    QString out = caption;
    return out.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void ElidingCheckBox::setFullText(const QString& text)
{
    fullText_ = text;
    // Whole, for a screen reader, however short the shown caption.
    setAccessibleDescription(text);
    updateGeometry();
    elide();
}

void ElidingCheckBox::setFullToolTip(const QString& tip)
{
    fullToolTip_ = tip;
    elide();
}

QSize ElidingCheckBox::sizeFor(const QString& text) const
{
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text = literalCaption(text);
    const QSize contents(fontMetrics().horizontalAdvance(text), fontMetrics().height());
    return style()->sizeFromContents(QStyle::CT_CheckBox, &opt, contents, this);
}

QSize ElidingCheckBox::sizeHint() const
{
    QSize full = sizeFor(fullText_);
    full.setWidth(std::min(full.width(), sizeFor(QString(kWidestChars, QLatin1Char('x'))).width()));
    return full.expandedTo(minimumSizeHint());
}

QSize ElidingCheckBox::minimumSizeHint() const { return sizeFor(kShortest); }

void ElidingCheckBox::resizeEvent(QResizeEvent* event)
{
    QCheckBox::resizeEvent(event);
    elide();
}

void ElidingCheckBox::changeEvent(QEvent* event)
{
    QCheckBox::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        elide();
}

void ElidingCheckBox::elide()
{
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const int room = style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, this).width();
    const QString shown = fontMetrics().elidedText(fullText_, Qt::ElideRight, std::max(0, room));
    elided_ = shown != fullText_;
    const QString caption = literalCaption(shown);
    if (QCheckBox::text() != caption)
        setText(caption);
    const QString tip = elided_ ? fullText_ : fullToolTip_;
    if (toolTip() != tip)
        setToolTip(tip);
}

} // namespace zb
