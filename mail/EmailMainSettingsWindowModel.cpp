#include "EmailMainSettingsWindowModel.h"

#include "SendEmailCommand.h"
#include "TestEmailReport.h"
#include "core/MainWindowModel.h"
#include "platform/CommandShell.h"
#include "platform/ExecutableInfo.h"
#include "platform/Files.h"
#include "platform/SettingsStore.h"

#include <QRegularExpression>

namespace zb {

namespace {

constexpr int kRefreshMs = 500;
const QString kTestEmailCaption = QStringLiteral("SEND TEST EMAIL");
const QString kTestEmailRunning = QStringLiteral("SENDING TEST EMAIL...");

} // namespace

EmailMainSettingsWindowModel::EmailMainSettingsWindowModel(Settings& settings, MainWindowModel& main,
                                                           WindowOpener* opener, FileDialog& fileDialog, Files& files,
                                                           CommandShell& shell, const ExecutableInfo& exe,
                                                           TimerHost& timers)
    : EmailSettingsFormModel(settings, keys::EMAIL_MAIN_SETTINGS, QStringLiteral("ZB_SEQUENTA_EMAIL_MAIN_SETTINGS"),
                             QStringLiteral("ZB-SEQUENTA - EMAIL MAIN SETTINGS"), QStringLiteral("EMAIL MAIN SETTINGS"),
                             fileDialog, shell.profile(), [this](const QString& tls) { TLS_TB_SETTING.setText(tls); }),
      SHARED_SETTINGS_BUTTON(QStringLiteral("SHARED_SETTINGS_BUTTON"), QStringLiteral("SHARED SETTINGS")),
      VIEW_OUTPUT_COMMANDS_BUTTON(QStringLiteral("VIEW_OUTPUT_COMMANDS_BUTTON"),
                                  QStringLiteral("VIEW OUTPUT COMMANDS")),
      SEND_TEST_EMAIL_BUTTON(QStringLiteral("SEND_TEST_EMAIL_BUTTON"), kTestEmailCaption),
      START_EMAIL_SUBJECT_TEXTBOX(QStringLiteral("START_EMAIL_SUBJECT_TEXTBOX"), QString()),
      END_EMAIL_SUBJECT_TEXTBOX(QStringLiteral("END_EMAIL_SUBJECT_TEXTBOX"), QString()),
      EMAIL_OUTPUT_START_COMMAND_TEXTBOX(QStringLiteral("EMAIL_OUTPUT_START_COMMAND_TEXTBOX"), QString()),
      EMAIL_OUTPUT_END_COMMAND_TEXTBOX(QStringLiteral("EMAIL_OUTPUT_END_COMMAND_TEXTBOX"), QString()),
      TLS_TB_SETTING(QStringLiteral("TLS_TB_SETTING"), QStringLiteral("no")),
      COMMAND_UPDATE_TIMER(timers, QStringLiteral("COMMAND_UPDATE_TIMER")),
      main_(main),
      opener_(opener),
      files_(files),
      shell_(shell),
      exe_(exe),
      self_(std::make_shared<EmailMainSettingsWindowModel*>(this))
{
    for (TextField* hidden : {&START_EMAIL_SUBJECT_TEXTBOX, &END_EMAIL_SUBJECT_TEXTBOX,
                              &EMAIL_OUTPUT_START_COMMAND_TEXTBOX, &EMAIL_OUTPUT_END_COMMAND_TEXTBOX, &TLS_TB_SETTING})
        hidden->setVisible(false);
    SEND_TEST_EMAIL_BUTTON.setToolTip(QStringLiteral("Sends the start e-mail now, with the settings as they stand"));

    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
    SHARED_SETTINGS_BUTTON.onClick = [this] { SHARED_SETTINGS_BUTTON_Click(); };
    VIEW_OUTPUT_COMMANDS_BUTTON.onClick = [this] { VIEW_OUTPUT_COMMANDS_BUTTON_Click(); };
    SEND_TEST_EMAIL_BUTTON.onClick = [this] { SEND_TEST_EMAIL_BUTTON_Click(); };
    COMMAND_UPDATE_TIMER.onTick = [this] { COMMAND_UPDATE_TIMER_Timer(); };
}

EmailMainSettingsWindowModel::~EmailMainSettingsWindowModel() { *self_ = nullptr; }

ProgramFacts EmailMainSettingsWindowModel::program() const { return {exe_.programFolder(), exe_.baseName()}; }

void EmailMainSettingsWindowModel::Form_Load()
{
    loadGeometry();
    loadValues(settings_.section());
    EMAIL_OUTPUT_START_COMMAND_TEXTBOX.setText(settings_.readText(keys::EMAIL_OUTPUT_START_COMMAND_TEXTBOX));
    EMAIL_OUTPUT_END_COMMAND_TEXTBOX.setText(settings_.readText(keys::EMAIL_OUTPUT_END_COMMAND_TEXTBOX));
    COMMAND_UPDATE_TIMER.setInterval(kRefreshMs);
    COMMAND_UPDATE_TIMER.setEnabled(true);
}

void EmailMainSettingsWindowModel::COMMAND_UPDATE_TIMER_Timer()
{
    // Ticks only while the window is loaded.
    if (unloaded()) {
        COMMAND_UPDATE_TIMER.setEnabled(false);
        return;
    }
    main_.SE_HOME_TEXTBOX.setText(SE_HOME_TEXTBOX.text());
    START_EMAIL_SUBJECT_TEXTBOX.setText(startEmailSubject(exe_.baseName()));
    END_EMAIL_SUBJECT_TEXTBOX.setText(endEmailSubject(exe_.baseName()));
    const EmailSettings fields = record(TLS_TB_SETTING.text());
    EMAIL_OUTPUT_START_COMMAND_TEXTBOX.setText(
        buildSendEmailCommand(fields, START_EMAIL_SUBJECT_TEXTBOX.text(), program(), profile_));
    EMAIL_OUTPUT_END_COMMAND_TEXTBOX.setText(
        buildSendEmailCommand(fields, END_EMAIL_SUBJECT_TEXTBOX.text(), program(), profile_));
    main_.EMAIL_OUTPUT_START_COMMAND_TEXTBOX.setText(EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text());
    main_.EMAIL_OUTPUT_END_COMMAND_TEXTBOX.setText(EMAIL_OUTPUT_END_COMMAND_TEXTBOX.text());
}

void EmailMainSettingsWindowModel::OK_BUTTON_Click()
{
    // The scripts must hold what the user sees, also an edit made in the last
    // half second before OK.
    COMMAND_UPDATE_TIMER_Timer();

    {
        // One write of the settings file, before the scripts.
        const SettingsBatch batch(settings_.store());
        storePosition();
        saveValues(settings_.section());
        settings_.writeText(keys::EMAIL_OUTPUT_START_COMMAND_TEXTBOX, EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text());
        settings_.writeText(keys::EMAIL_OUTPUT_END_COMMAND_TEXTBOX, EMAIL_OUTPUT_END_COMMAND_TEXTBOX.text());
    }
    main_.EMAIL_OUTPUT_START_COMMAND_TEXTBOX.setText(EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text());
    main_.EMAIL_OUTPUT_END_COMMAND_TEXTBOX.setText(EMAIL_OUTPUT_END_COMMAND_TEXTBOX.text());

    if (!writeScript(EmailBatch::Start, EMAIL_OUTPUT_START_COMMAND_TEXTBOX.text()) ||
        !writeScript(EmailBatch::End, EMAIL_OUTPUT_END_COMMAND_TEXTBOX.text()))
        return;

    // The mailer's verbose log holds the AUTH exchange: it is made private
    // before the mailer ever writes to it.
    const QString log = emailLogPath(profile_, program());
    const FileResult made = files_.createPrivateFile(log);
    if (!made.ok && showWarning)
        showWarning(
            QStringLiteral(
                "The settings and both scripts are saved, but the log file \"%1\" could not be "
                "made: %2.\n\nWithout the LOGS folder %3 keeps no log, and a failed e-mail "
                "leaves no trace. Make it with CREATE FOLDERS in the main settings window once this window is closed.")
                .arg(log, made.error, mailerTexts(profile_).mailerName));
    close();
}

bool EmailMainSettingsWindowModel::writeScript(EmailBatch kind, const QString& command)
{
    const QString path = emailScriptPath(profile_, program(), kind);
    FileResult written = files_.writePrivateFile(path, emailScriptContent(profile_, command));
    const QString which = kind == EmailBatch::Start ? QStringLiteral("start") : QStringLiteral("end");
    // Asked here, where the folders are missed: the main settings window's
    // CREATE FOLDERS cannot be reached while this window is open.
    if (!written.ok && createFolders && askYesNo &&
        askYesNo(QStringLiteral("The %1 e-mail script \"%2\" could not be written: %3.\n\nMake the BATS and LOGS "
                                "folders beside the program now, as CREATE FOLDERS does, and try again?")
                     .arg(which, path, written.error))) {
        if (const QString failed = createFolders(); !failed.isEmpty())
            written.error = failed;
        else
            written = files_.writePrivateFile(path, emailScriptContent(profile_, command));
    }
    if (written.ok)
        return true;
    if (showError)
        showError(QStringLiteral("The e-mail settings are saved, but the %1 e-mail script \"%2\" could not be "
                                 "written: %3.\n\nCheck that the folder beside the program can be written to, "
                                 "make the BATS and LOGS folders (CREATE FOLDERS), then press OK here again.")
                      .arg(which, path, written.error));
    return false;
}

void EmailMainSettingsWindowModel::SHARED_SETTINGS_BUTTON_Click() { open(WindowKind::EmailSharedSettings); }

void EmailMainSettingsWindowModel::VIEW_OUTPUT_COMMANDS_BUTTON_Click() { open(WindowKind::EmailOutputCommands); }

void EmailMainSettingsWindowModel::open(WindowKind kind)
{
    if (opener_ != nullptr)
        opener_->showModal(kind);
}

QString missingAddresses(const EmailSettings& fields)
{
    // An address has a name and a domain around its "@".
    static const QRegularExpression address(QStringLiteral("^[^@\\s]+@[^@\\s]+$"));
    QStringList wrong;
    for (const auto& [label, value] :
         {std::pair{QStringLiteral("From"), fields.from}, {QStringLiteral("To"), fields.to}})
        if (!address.match(value.trimmed()).hasMatch())
            wrong << (value.trimmed().isEmpty()
                          ? QStringLiteral("%1 is empty").arg(label)
                          : QStringLiteral("%1 \"%2\" is not an e-mail address").arg(label, value));
    if (wrong.isEmpty())
        return QString();
    return QStringLiteral("No test e-mail was sent: %1. Fill in the sender (From) and the receiver (To) as "
                          "name@domain first.")
        .arg(wrong.join(QStringLiteral(" and ")));
}

void EmailMainSettingsWindowModel::SEND_TEST_EMAIL_BUTTON_Click()
{
    const EmailSettings fields = record(TLS_TB_SETTING.text());
    if (const QString missing = missingAddresses(fields); !missing.isEmpty()) {
        if (showError)
            showError(missing);
        return;
    }
    // Told apart from a real start at a glance, in any mailbox.
    const QString subject = startEmailSubject(exe_.baseName()) + QStringLiteral(" - TEST E-MAIL, NOTHING RAN");
    const QString command = buildSendEmailCommand(fields, subject, program(), profile_);
    files_.createPrivateFile(emailLogPath(profile_, program())); // a missing LOGS shows in the mailer's output
    SEND_TEST_EMAIL_BUTTON.setEnabled(false);
    SEND_TEST_EMAIL_BUTTON.setCaption(kTestEmailRunning);
    std::weak_ptr<EmailMainSettingsWindowModel*> self = self_;
    shell_.run(command, kTestEmailTimeoutMs, [self, fields](const CommandOutcome& outcome) {
        if (const auto alive = self.lock(); alive && *alive != nullptr)
            (*alive)->testEmailEnded(outcome, fields);
    });
}

void EmailMainSettingsWindowModel::testEmailEnded(const CommandOutcome& outcome, const EmailSettings& sent)
{
    SEND_TEST_EMAIL_BUTTON.setCaption(kTestEmailCaption);
    SEND_TEST_EMAIL_BUTTON.setEnabled(true);
    const QString report = testEmailReport(outcome, sent, mailerTexts(profile_).mailerName, kTestEmailTimeoutMs / 1000);
    const bool sent0 = outcome.started && !outcome.timedOut && !outcome.crashed && outcome.exitCode == 0;
    const auto& tell = sent0 ? showInformation : showError;
    if (tell)
        tell(report);
}

} // namespace zb
