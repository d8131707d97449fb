#include "TaskList.h"

#include <QScreen>
#include <QScrollBar>
#include <QStyle>

namespace zb {

namespace {
constexpr int kLeastRows = 6;
// What the window's own margins and frame take beside the list.
constexpr int kWindowChrome = 48;
} // namespace

TaskList::TaskList(QWidget* rows, int rowHeight) : rowHeight_(rowHeight)
{
    setObjectName(QStringLiteral("TASK_LIST"));
    setWidget(rows);
    setWidgetResizable(true);
    setFocusPolicy(Qt::NoFocus); // its rows take the focus, not the list
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

QSize TaskList::chrome() const
{
    const int frame = 2 * frameWidth();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    return {frame + bar, frame};
}

int TaskList::screenWidth() const
{
    const QScreen* s = screen();
    return s != nullptr ? s->availableGeometry().width() - kWindowChrome : QWIDGETSIZE_MAX;
}

QSize TaskList::sizeHint() const
{
    if (widget() == nullptr)
        return QScrollArea::sizeHint();
    return widget()->sizeHint() + chrome();
}

QSize TaskList::minimumSizeHint() const
{
    if (widget() == nullptr)
        return QScrollArea::minimumSizeHint();
    const QMargins m = widget()->contentsMargins();
    const int width = widget()->minimumSizeHint().width() + chrome().width();
    return {qMin(width, screenWidth()), rowHeight_ * kLeastRows + m.top() + chrome().height()};
}

} // namespace zb
