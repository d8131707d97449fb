#include "EditorStyle.h"

#include "Bindings.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QVBoxLayout>

#include <algorithm>

namespace zb::style {

namespace {

// QLineEdit keeps this many pixels on either side of its text.
constexpr int kLineEditMargin = 2;
// Room for the text cursor after the last character.
constexpr int kCursorRoom = 2;
// A window's title against the system font.
constexpr double kTitleScale = 1.4;

int fittedWidth(const QLineEdit* field, const QString& sample)
{
    QStyleOptionFrame opt;
    opt.initFrom(field);
    opt.rect = field->rect();
    opt.lineWidth = field->hasFrame() ? field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, field) : 0;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    const QFontMetrics fm(field->font());
    const QMargins m = field->textMargins();
    const int text = fm.horizontalAdvance(sample) + 2 * kLineEditMargin + kCursorRoom + m.left() + m.right();
    return field->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, QSize(text, fm.height()), field).width();
}

// Fits the field again when its font or style changes.
class FitWatch : public QObject {
public:
    FitWatch(QLineEdit* field, QString sample) : QObject(field), sample_(std::move(sample))
    {
        setObjectName(QStringLiteral("zb_fit_width"));
    }
    void fit(QLineEdit* field) const { field->setFixedWidth(fittedWidth(field, sample_)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
            fit(static_cast<QLineEdit*>(watched));
        return QObject::eventFilter(watched, event);
    }

private:
    QString sample_;
};

} // namespace

void fitWidth(QLineEdit* field, const QString& sample)
{
    delete field->findChild<QObject*>(QStringLiteral("zb_fit_width"), Qt::FindDirectChildrenOnly);
    auto* watch = new FitWatch(field, sample);
    field->installEventFilter(watch);
    watch->fit(field);
}

int charsWide(const QWidget* widget, int chars) { return widget->fontMetrics().averageCharWidth() * chars; }

void squareButton(QWidget* button)
{
    const int side = QLineEdit().sizeHint().height();
    button->setFixedSize(side, side);
}

QFont boldScaled(double factor)
{
    QFont f;
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * factor);
    return f;
}

void wideButton(QWidget* button)
{
    button->setMinimumWidth(std::max(charsWide(button, 12), button->minimumSizeHint().width()));
}

QFont bold(int pointSize)
{
    QFont f;
    f.setBold(true);
    if (pointSize > 0)
        f.setPointSize(pointSize);
    return f;
}

QVBoxLayout* windowLayout(QWidget* window, int spacing, int margin)
{
    auto* root = new QVBoxLayout(window);
    root->setContentsMargins(margin, margin, margin, margin);
    root->setSpacing(spacing);
    return root;
}

QFrame* titleStrip(Bindings& bindings, std::initializer_list<Label*> labels)
{
    auto* strip = new QFrame;
    strip->setAutoFillBackground(true);
    strip->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    QPalette p = strip->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, QColor(0, 220, 0));
    strip->setPalette(p);
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(10, 4, 10, 4);
    row->setSpacing(16);
    bool first = true;
    for (Label* model : labels) {
        QLabel* label = bindings.bind(*model, new QLabel);
        label->setFont(first ? boldScaled(kTitleScale) : bold());
        label->setPalette(p);
        if (!first)
            row->addStretch(1);
        row->addWidget(label);
        first = false;
    }
    return strip;
}

QLineEdit* slotNumber()
{
    auto* e = new QLineEdit;
    e->setAlignment(Qt::AlignCenter);
    e->setFont(bold());
    fitWidth(e, QStringLiteral("20"));
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

QWidget* dialogButtons(QPushButton* confirm, QPushButton* drop, QPushButton* apply)
{
    auto* box = new QDialogButtonBox;
    box->addButton(confirm, QDialogButtonBox::AcceptRole);
    confirm->setDefault(true);
    if (drop != nullptr) {
        box->addButton(drop, QDialogButtonBox::RejectRole);
        drop->setAutoDefault(false);
    }
    if (apply != nullptr) {
        box->addButton(apply, QDialogButtonBox::ApplyRole);
        apply->setAutoDefault(false);
    }
    return box;
}

QFrame* horizontalRule()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QFrame* verticalRule()
{
    auto* line = new QFrame;
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace zb::style
