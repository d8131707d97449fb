#pragma once

#include "EditorDialog.h"

class QGridLayout;

namespace zb {

class AllTaskSettingsWindowModel;

// ZB_SEQUENTA_SETTINGS: slots 1 to 10 in a left block and 11 to 20 in a
// right block. Cancel is both the default and the cancel button: Enter and
// Esc press it.
class AllTaskSettingsWindowView : public EditorDialog {
public:
    AllTaskSettingsWindowView(AllTaskSettingsWindowModel& model, QWidget* owner);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* buildTitle();
    QWidget* buildBlock(int firstSlot, Label& nameHeading, Label& commandHeading, Label& processHeading,
                        Label& limitHeading);

    AllTaskSettingsWindowModel& model_;
};

} // namespace zb
