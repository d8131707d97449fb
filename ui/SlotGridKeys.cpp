#include "SlotGridKeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>

namespace zb {

namespace {

// Whether Tab may stop on `w` in `window`, as Qt's own chain decides.
bool tabStop(const QWidget* w, const QWidget* window)
{
    return w != nullptr && w->window() == window && (w->focusPolicy() & Qt::TabFocus) != 0 && w->isEnabled() &&
           w->isVisibleTo(window) && w->focusProxy() == nullptr;
}

// Whether the key leaves a field's text: Left at its start, Right at its end.
bool leavesText(const QWidget* w, int key)
{
    const auto* field = qobject_cast<const QLineEdit*>(w);
    if (field == nullptr)
        return true;
    if (field->hasSelectedText())
        return false;
    return key == Qt::Key_Left ? field->cursorPosition() == 0 : field->cursorPosition() == field->text().size();
}

} // namespace

SlotGridKeys::SlotGridKeys(QScrollArea* list, QObject* parent) : QObject(parent), list_(list) {}

void SlotGridKeys::addRow(QWidget* lead, const QList<QWidget*>& cells)
{
    leads_ << lead;
    rows_ << cells;
    for (QWidget* cell : cells)
        cell->installEventFilter(this);
    if (current_ == nullptr && !cells.isEmpty())
        current_ = cells.first();
}

SlotGridKeys::Cell SlotGridKeys::find(const QWidget* w) const
{
    for (int r = 0; r < rows_.size(); ++r)
        if (const auto c = static_cast<int>(rows_[r].indexOf(w)); c >= 0)
            return {r, c};
    return {};
}

bool SlotGridKeys::tab(QWidget* from, bool forward)
{
    if (from == nullptr)
        return false;
    const QWidget* window = from->window();
    const bool inside = find(from).row >= 0;
    QWidget* w = from;
    do {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    } while (w != from && !tabStop(w, window));
    if (w == from || find(w).row < 0)
        return false;
    if (inside) {
        // Out of the rows: on to the first stop past them.
        while (w != from && (!tabStop(w, window) || find(w).row >= 0))
            w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
    } else if (tabStop(current_, window)) {
        w = current_;
    }
    w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool SlotGridKeys::moveBy(Cell from, int rows, int columns)
{
    const int row = from.row + rows;
    const int column = from.column + columns;
    if (row < 0 || row >= rows_.size() || column < 0 || column >= rows_[row].size())
        return false;
    QWidget* to = rows_[row][column];
    if (!to->isEnabled() || !to->isVisibleTo(to->window()))
        return moveBy({row, column}, rows, columns);
    // Not as by Tab: a field keeps its text unselected, so that typing after
    // an arrow key never replaces a command.
    to->setFocus(Qt::OtherFocusReason);
    return true;
}

void SlotGridKeys::showInList(QWidget* cell, int row)
{
    list_->ensureWidgetVisible(cell, 0, 8);
    // The row's start stays in view whenever the row from it to the control
    // fits: a slot's number tells which slot a field is.
    QWidget* lead = leads_[row];
    const int span = cell->geometry().right() - lead->geometry().left();
    if (span < list_->viewport()->width())
        list_->horizontalScrollBar()->setValue(
            qMin(list_->horizontalScrollBar()->value(), qMax(0, lead->geometry().left() - 4)));
}

bool SlotGridKeys::eventFilter(QObject* watched, QEvent* event)
{
    auto* w = static_cast<QWidget*>(watched);
    const Cell at = find(w);
    if (at.row < 0)
        return false;
    if (event->type() == QEvent::FocusIn) {
        current_ = w;
        showInList(w, at.row);
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        switch (key->key()) {
        case Qt::Key_Up:
            moveBy(at, -1, 0);
            return true;
        case Qt::Key_Down:
            moveBy(at, 1, 0);
            return true;
        case Qt::Key_Left:
        case Qt::Key_Right:
            if (!leavesText(w, key->key()))
                return false;
            moveBy(at, 0, key->key() == Qt::Key_Left ? -1 : 1);
            return true;
        default:
            return false;
        }
    }
    return false;
}

} // namespace zb
