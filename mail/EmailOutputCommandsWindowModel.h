#pragma once

#include "EmailSettings.h"
#include "core/Control.h"
#include "editors/EditorWindowModel.h"
#include "engine/EmailBatch.h"
#include "platform/CommandShell.h"

namespace zb {

class ExecutableInfo;
class MainWindowModel;

// ZB_SEQUENTA_SINGLE_OUTPUT_COMMANDS_WINDOW: shows the START or the END
// e-mail command, as the main window holds it now (edits not yet confirmed
// included), with the path of its script.
class EmailOutputCommandsWindowModel : public EditorWindowModel {
public:
    EmailOutputCommandsWindowModel(Settings& settings, const MainWindowModel& main, const ExecutableInfo& exe,
                                   CommandProfile profile);

    void Form_Load();
    void START_EMAIL_COMMAND_BUTTON_Click();
    void END_EMAIL_COMMAND_BUTTON_Click();
    void OK_BUTTON_Click();

    Button START_EMAIL_COMMAND_BUTTON;
    Button END_EMAIL_COMMAND_BUTTON;
    Button OK_BUTTON;
    Label COMMAND_NAME_LABEL;
    TextField ALL_COMMANDS_TEXTBOX;
    Label FILE_LOCATION_LABEL;
    TextField ALL_LOCATIONS_TEXTBOX;
    Label VIEW_OUTPUT_COMMANDS_LABEL;
    Label TITLE_LABEL;

private:
    void show(EmailBatch kind);

    const MainWindowModel& main_;
    const ExecutableInfo& exe_;
    CommandProfile profile_;
};

} // namespace zb
