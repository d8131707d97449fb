#pragma once

#include "Bindings.h"
#include "WindowPlacement.h"

#include <QWidget>

namespace zb {

class MainWindowModel;
class SlotGridKeys;

// The main window ZB_SEQUENTA_MAIN: renders its model and hands it the
// user's clicks. Closing it runs the model's shut-down.
class MainWindowView : public QWidget {
public:
    explicit MainWindowView(MainWindowModel& model);
    ~MainWindowView() override;

    // Places the window as the model's start-up read it.
    void applyGeometry();

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QWidget* buildHeader();
    QWidget* buildControls();
    QWidget* buildDesk();
    QWidget* buildSlots();

    MainWindowModel& model_;
    Bindings bindings_;
    WindowPlacement placement_;
    SlotGridKeys* slotKeys_ = nullptr;
    // Placed when it shows, once its texts are in: laying out some 130
    // widgets for a size that the next texts change is wasted.
    bool placePending_ = false;
};

} // namespace zb
