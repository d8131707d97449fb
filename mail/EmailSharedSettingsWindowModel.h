#pragma once

#include "EmailSettingsFormModel.h"

namespace zb {

// ZB_SEQUENTA_EMAIL_SHARED_SETTINGS: one set of e-mail settings for every
// copy of the program, whatever its name. OK saves it in the shared section;
// USE THESE SHARED SETTINGS copies it into the e-mail main settings window
// that opened this one, where its OK makes it this copy's own.
class EmailSharedSettingsWindowModel : public EmailSettingsFormModel {
public:
    EmailSharedSettingsWindowModel(Settings& settings, EmailSettingsFormModel& mainEmailWindow, FileDialog& fileDialog,
                                   CommandProfile profile);

    // Its position from this copy's section, the values from the shared one
    // (read afresh, so another copy's OK shows at the next opening).
    void Form_Load();
    void OK_BUTTON_Click();
    void USE_THESE_SHARED_SETTINGS_BUTTON_Click();

    Button USE_THESE_SHARED_SETTINGS_BUTTON;

private:
    EmailSettingsFormModel& mainEmailWindow_;
};

} // namespace zb
