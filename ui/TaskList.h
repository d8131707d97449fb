#pragma once

#include <QScrollArea>

namespace zb {

// The scrolled list of slot rows. It asks for room for every row and column,
// and never gets less than its columns' least width (and six rows): no column
// runs under the scroll bar. On a screen too narrow for that, it scrolls
// sideways instead.
class TaskList : public QScrollArea {
public:
    // `rowHeight` is one row's height with its spacing.
    TaskList(QWidget* rows, int rowHeight);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    // The frame and the vertical scroll bar around the rows.
    QSize chrome() const;
    int screenWidth() const;

    int rowHeight_;
};

} // namespace zb
