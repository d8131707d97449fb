#pragma once

#include "EditorDialog.h"

namespace zb {

class SingleTaskSettingsWindowModel;

// ZB_SEQUENTA_SINGLE_SETTINGS_WINDOW: twenty load buttons over the editor's
// three fields, with the file browser beside the command.
class SingleTaskSettingsWindowView : public EditorDialog {
public:
    SingleTaskSettingsWindowView(SingleTaskSettingsWindowModel& model, QWidget* owner);

private:
    QWidget* buildLoadButtons();
    QWidget* buildFields();

    SingleTaskSettingsWindowModel& model_;
};

} // namespace zb
