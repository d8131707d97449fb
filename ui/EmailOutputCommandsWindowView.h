#pragma once

#include "EditorDialog.h"

namespace zb {

class EmailOutputCommandsWindowModel;

// ZB_SEQUENTA_SINGLE_OUTPUT_COMMANDS_WINDOW: one e-mail command at a time,
// with the path of its script.
class EmailOutputCommandsWindowView : public EditorDialog {
public:
    EmailOutputCommandsWindowView(EmailOutputCommandsWindowModel& model, QWidget* owner);
};

} // namespace zb
