#pragma once

#include "core/Colour.h"

#include <QLineEdit>
#include <QString>

namespace zb {

class TextField;

// What a task light says, read from its colour and tooltip: a run paints
// cyan, green or red, and a red light with a reason is a failure.
enum class LightState { NotRun, Running, Done, Skipped, Failed };

LightState lightState(Colour background, const QString& toolTip);
// "Slot 2: exited with 3", "Slot 5: skipped".
QString lightWords(int slot, LightState state, const QString& toolTip);
// The mark drawn beside the slot number, so that no state is told by
// colour alone; none for a light not run.
QString lightMark(LightState state);

// A slot light: the slot number with its state's mark, and the state in
// words for a screen reader. Follows its model after every change.
class TaskLightEdit : public QLineEdit {
public:
    TaskLightEdit(int slot, const TextField& model);

    // Reads the model again; the view calls it when the model changes.
    void follow();
    const QString& mark() const { return mark_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int slot_;
    const TextField& model_;
    QString mark_;
};

} // namespace zb
