#include "EditorStyle.h"

#include "Bindings.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace zb::style {

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
        label->setFont(bold(first ? 13 : 0));
        label->setPalette(p);
        if (!first)
            row->addStretch(1);
        row->addWidget(label);
        first = false;
    }
    return strip;
}

QLineEdit* slotNumber(int width)
{
    auto* e = new QLineEdit;
    e->setAlignment(Qt::AlignCenter);
    e->setFont(bold());
    e->setFixedWidth(width);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
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
