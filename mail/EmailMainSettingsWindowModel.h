#pragma once

#include "EmailSettingsFormModel.h"
#include "core/Timer.h"
#include "core/WindowOpener.h"

#include <functional>
#include <memory>

namespace zb {

class CommandShell;
class ExecutableInfo;
class Files;
class MainWindowModel;
class TimerHost;
struct CommandOutcome;

// ZB_SEQUENTA_EMAIL_MAIN_SETTINGS: this copy's e-mail settings. Twice a
// second it rebuilds the START and END mailer commands from the fields and
// hands them to the main window; OK saves everything and writes the two
// scripts into BATS. SEND TEST EMAIL runs the START command at once.
// Why the test e-mail cannot go to these addresses: From or To empty or
// not an address; empty when both are.
QString missingAddresses(const EmailSettings& fields);

class EmailMainSettingsWindowModel : public EmailSettingsFormModel {
public:
    // The longest a test e-mail may take before the mailer is stopped.
    static constexpr int kTestEmailTimeoutMs = 60'000;

    EmailMainSettingsWindowModel(Settings& settings, MainWindowModel& main, WindowOpener* opener,
                                 FileDialog& fileDialog, Files& files, CommandShell& shell, const ExecutableInfo& exe,
                                 TimerHost& timers);
    ~EmailMainSettingsWindowModel();

    // Geometry, the values of this copy's section, the last confirmed
    // commands; starts the twice-a-second refresh.
    void Form_Load();
    // Saves, then writes the scripts. A script that cannot be written is
    // reported and the window stays open; what was saved stays saved.
    void OK_BUTTON_Click();
    void SHARED_SETTINGS_BUTTON_Click();
    void VIEW_OUTPUT_COMMANDS_BUTTON_Click();
    // Runs the START command of the fields as they stand, without waiting;
    // the outcome is shown when the mailer ends.
    void SEND_TEST_EMAIL_BUTTON_Click();
    // The subjects, both commands, and the main window's copies.
    void COMMAND_UPDATE_TIMER_Timer();

    // Set by the view: tell the user.
    std::function<void(const QString& message)> showError;
    std::function<void(const QString& message)> showWarning;
    std::function<void(const QString& message)> showInformation;
    // Set by the view: a yes/no question; true for yes.
    std::function<bool(const QString& question)> askYesNo;
    // Set by the program: makes the BATS and LOGS folders as CREATE FOLDERS
    // does; why it could not, empty when it could.
    std::function<QString()> createFolders;

    Button SHARED_SETTINGS_BUTTON;
    Button VIEW_OUTPUT_COMMANDS_BUTTON;
    Button SEND_TEST_EMAIL_BUTTON;

    // Hidden fields.
    TextField START_EMAIL_SUBJECT_TEXTBOX;
    TextField END_EMAIL_SUBJECT_TEXTBOX;
    TextField EMAIL_OUTPUT_START_COMMAND_TEXTBOX;
    TextField EMAIL_OUTPUT_END_COMMAND_TEXTBOX;
    TextField TLS_TB_SETTING;

    Timer COMMAND_UPDATE_TIMER;

private:
    ProgramFacts program() const;
    bool writeScript(EmailBatch kind, const QString& command);
    void testEmailEnded(const CommandOutcome& outcome, const EmailSettings& sent);
    void open(WindowKind kind);

    MainWindowModel& main_;
    WindowOpener* opener_;
    Files& files_;
    CommandShell& shell_;
    const ExecutableInfo& exe_;
    // Lets a test e-mail that ends after the window has gone find nobody.
    std::shared_ptr<EmailMainSettingsWindowModel*> self_;
};

} // namespace zb
