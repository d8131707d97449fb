#pragma once

#include "EditorDialog.h"

namespace zb {

class EmailSharedSettingsWindowModel;

// ZB_SEQUENTA_EMAIL_SHARED_SETTINGS: the e-mail settings every copy shares.
class EmailSharedSettingsWindowView : public EditorDialog {
public:
    EmailSharedSettingsWindowView(EmailSharedSettingsWindowModel& model, QWidget* owner);
};

} // namespace zb
