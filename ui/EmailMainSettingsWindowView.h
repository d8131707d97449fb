#pragma once

#include "EditorDialog.h"

namespace zb {

class EmailMainSettingsWindowModel;

// ZB_SEQUENTA_EMAIL_MAIN_SETTINGS: the e-mail settings of this copy, the
// doors to the shared settings and the output commands, SEND TEST EMAIL; the
// model's errors, warnings and test results in message boxes.
class EmailMainSettingsWindowView : public EditorDialog {
public:
    EmailMainSettingsWindowView(EmailMainSettingsWindowModel& model, QWidget* owner);
    ~EmailMainSettingsWindowView() override;

private:
    EmailMainSettingsWindowModel& model_;
};

} // namespace zb
