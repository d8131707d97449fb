#include "EmailOutputCommandsWindowModel.h"

#include "MailerProfile.h"
#include "core/MainWindowModel.h"
#include "editors/EditorTexts.h"
#include "platform/ExecutableInfo.h"

namespace zb {

EmailOutputCommandsWindowModel::EmailOutputCommandsWindowModel(Settings& settings, const MainWindowModel& main,
                                                               const ExecutableInfo& exe, CommandProfile profile)
    : EditorWindowModel(settings, keys::SINGLE_OUTPUT_COMMANDS_WINDOW,
                        QStringLiteral("ZB_SEQUENTA_SINGLE_OUTPUT_COMMANDS_WINDOW"),
                        QStringLiteral("ZB-SEQUENTA - EMAIL OUTPUT COMMANDS")),
      START_EMAIL_COMMAND_BUTTON(QStringLiteral("START_EMAIL_COMMAND_BUTTON"),
                                 QStringLiteral("\"START EMAIL\" RUN COMMAND")),
      END_EMAIL_COMMAND_BUTTON(QStringLiteral("END_EMAIL_COMMAND_BUTTON"), QStringLiteral("\"END EMAIL\" RUN COMMAND")),
      OK_BUTTON(QStringLiteral("OK_BUTTON"), QStringLiteral("OK")),
      COMMAND_NAME_LABEL(QStringLiteral("COMMAND_NAME_LABEL"), QStringLiteral("RUN COMMAND -")),
      ALL_COMMANDS_TEXTBOX(QStringLiteral("ALL_COMMANDS_TEXTBOX"), QString()),
      FILE_LOCATION_LABEL(QStringLiteral("FILE_LOCATION_LABEL"), QStringLiteral("File Location:")),
      ALL_LOCATIONS_TEXTBOX(QStringLiteral("ALL_LOCATIONS_TEXTBOX"),
                            QStringLiteral("!!! NO COMMAND SELECTED - PLEASE SELECT A COMMAND !!!")),
      VIEW_OUTPUT_COMMANDS_LABEL(QStringLiteral("VIEW_OUTPUT_COMMANDS_LABEL"), QStringLiteral("EMAIL OUTPUT COMMANDS")),
      TITLE_LABEL(QStringLiteral("TITLE_LABEL"), text::kProgramTitle),
      main_(main),
      exe_(exe),
      profile_(profile)
{
    ALL_COMMANDS_TEXTBOX.setLocked(true);
    ALL_LOCATIONS_TEXTBOX.setLocked(true);
    START_EMAIL_COMMAND_BUTTON.onClick = [this] { START_EMAIL_COMMAND_BUTTON_Click(); };
    END_EMAIL_COMMAND_BUTTON.onClick = [this] { END_EMAIL_COMMAND_BUTTON_Click(); };
    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
}

void EmailOutputCommandsWindowModel::Form_Load() { loadGeometry(); }

void EmailOutputCommandsWindowModel::START_EMAIL_COMMAND_BUTTON_Click() { show(EmailBatch::Start); }

void EmailOutputCommandsWindowModel::END_EMAIL_COMMAND_BUTTON_Click() { show(EmailBatch::End); }

void EmailOutputCommandsWindowModel::OK_BUTTON_Click() { close(); }

void EmailOutputCommandsWindowModel::show(EmailBatch kind)
{
    const bool start = kind == EmailBatch::Start;
    COMMAND_NAME_LABEL.setCaption(QStringLiteral("RUN COMMAND - %1 - %2")
                                      .arg(mailerTexts(profile_).mailerName,
                                           start ? QStringLiteral("START EMAIL") : QStringLiteral("END EMAIL")));
    ALL_COMMANDS_TEXTBOX.setText(start ? main_.EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text()
                                       : main_.EMAIL_OUTPUT_END_COMMAND_TEXTBOX.text());
    ALL_LOCATIONS_TEXTBOX.setText(emailScriptPath(profile_, {exe_.programFolder(), exe_.baseName()}, kind));
}

} // namespace zb
