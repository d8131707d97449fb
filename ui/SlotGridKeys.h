#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QScrollArea;
class QWidget;

namespace zb {

// The slot rows as one Tab stop: Tab enters them at the control last used,
// the next Tab leaves them, and the arrow keys move among them (Left and
// Right in a field only past its first or last character). The control
// that takes the focus is scrolled into view with its row's start.
class SlotGridKeys : public QObject {
public:
    SlotGridKeys(QScrollArea* list, QObject* parent);

    // `lead` is what must stay in view with the row (its light); `cells`
    // are the row's controls, left to right.
    void addRow(QWidget* lead, const QList<QWidget*>& cells);

    // Moves the focus for a Tab from `from` when the rows are on the way in
    // or out; false leaves it to the window's own chain.
    bool tab(QWidget* from, bool forward);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Cell {
        int row = -1;
        int column = -1;
    };
    Cell find(const QWidget* w) const;
    bool moveBy(Cell from, int rows, int columns);
    void showInList(QWidget* cell, int row);

    QScrollArea* list_;
    QList<QWidget*> leads_;
    QList<QList<QWidget*>> rows_;
    QPointer<QWidget> current_;
};

} // namespace zb
