#pragma once

#include <QList>
#include <QWidget>

class QAbstractButton;
class QGridLayout;

namespace zb {

// A grid of buttons that is one Tab stop: Tab lands on the button last
// used, the arrow keys, Home and End move among them, and Space or Enter
// presses one.
class SlotPicker : public QWidget {
public:
    SlotPicker(const QString& spokenName, int perRow);

    void add(QAbstractButton* button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeTabStop(QAbstractButton* button);

    QGridLayout* grid_;
    int perRow_;
    QList<QAbstractButton*> buttons_;
};

} // namespace zb
