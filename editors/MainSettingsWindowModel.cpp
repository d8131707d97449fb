#include "MainSettingsWindowModel.h"

#include "EditorTexts.h"
#include "core/MainWindowModel.h"
#include "core/SwitchSettings.h"
#include "platform/ExecutableInfo.h"
#include "platform/Folders.h"
#include "platform/SettingsStore.h"

#include <QDir>
#include <algorithm>

namespace zb {

namespace {

// Copies a switch onto its twin on the main window; setting the value runs
// the twin's own click handling when it changes.
void mirror(const TickBox& from, TickBox& to) { to.setValue(from.value()); }

} // namespace

MainSettingsWindowModel::MainSettingsWindowModel(Settings& settings, MainWindowModel& main, WindowOpener* opener,
                                                 Folders& folders, const ExecutableInfo& exe)
    : EditorWindowModel(settings, keys::MAIN_SETTINGS, QStringLiteral("ZB_SEQUENTA_MAIN_SETTINGS_WINDOW"),
                        QStringLiteral("ZB-SEQUENTA - MAIN SETTINGS")),
      AUTOSTART_TICKBOX(QStringLiteral("AUTOSTART_TICKBOX"), text::kAutostartCaption),
      AlwaysOnTopTimer_TICKBOX(QStringLiteral("AlwaysOnTopTimer_TICKBOX"), text::kAlwaysOnTopCaption, 1),
      AUTOCLOSE_TICKBOX(QStringLiteral("AUTOCLOSE_TICKBOX"), text::kAutocloseCaption),
      KITT_AUTOSTART_TICKBOX(QStringLiteral("KITT_AUTOSTART_TICKBOX"), text::kKittAutostartCaption),
      START_EMAIL_TICKBOX(QStringLiteral("START_EMAIL_TICKBOX"), text::kStartEmailCaption),
      END_EMAIL_TICKBOX(QStringLiteral("END_EMAIL_TICKBOX"), text::kEndEmailCaption),
      OK_BUTTON(QStringLiteral("OK_BUTTON"), QStringLiteral("OK")),
      MANAGE_TASKS_BUTTON(QStringLiteral("MANAGE_TASKS_BUTTON"), QStringLiteral("MANAGE TASKS")),
      VIEW_SINGLE_SETTINGS_BUTTON(QStringLiteral("VIEW_SINGLE_SETTINGS_BUTTON"),
                                  QStringLiteral("SINGLE TASK SETTINGS")),
      VIEW_ALL_SETTINGS_BUTTON(QStringLiteral("VIEW_ALL_SETTINGS_BUTTON"), QStringLiteral("ALL TASK SETTINGS")),
      EMAIL_SETTINGS_BUTTON(QStringLiteral("EMAIL_SETTINGS_BUTTON"), QStringLiteral("EMAIL")),
      SCHEDULER_SETTINGS_BUTTON(QStringLiteral("SCHEDULER_SETTINGS_BUTTON"), QStringLiteral("SCHEDULER")),
      ABOUT_BUTTON(QStringLiteral("ABOUT_BUTTON"), QStringLiteral("About")),
      CREATE_FOLDERS_BUTTON(QStringLiteral("CREATE_FOLDERS_BUTTON"), QStringLiteral("CREATE FOLDERS")),
      FIRST_RUN_LABEL(QStringLiteral("FIRST_RUN_LABEL"),
                      QStringLiteral("ALL SEQUENTA'S CAN USE THE SAME \"HOME FOLDER\"")),
      ZB_SEQUENTA_TITLE(QStringLiteral("ZB_SEQUENTA_TITLE"), text::kProgramTitle),
      ZB_TITLE(QStringLiteral("ZB_TITLE"), text::kZebrane),
      SINGLE_SETTINGS_LABEL(QStringLiteral("SINGLE_SETTINGS_LABEL"), QStringLiteral("MAIN SETTINGS")),
      main_(main),
      opener_(opener),
      folders_(folders),
      exe_(exe)
{
    MANAGE_TASKS_BUTTON.setToolTip(QStringLiteral("ENABLE / DISABLE TASKS"));

    AUTOSTART_TICKBOX.onClick = [this] { AUTOSTART_TICKBOX_Click(); };
    AlwaysOnTopTimer_TICKBOX.onClick = [this] { AlwaysOnTopTimer_TICKBOX_Click(); };
    AUTOCLOSE_TICKBOX.onClick = [this] { AUTOCLOSE_TICKBOX_Click(); };
    KITT_AUTOSTART_TICKBOX.onClick = [this] { KITT_AUTOSTART_TICKBOX_Click(); };
    START_EMAIL_TICKBOX.onClick = [this] { START_EMAIL_TICKBOX_Click(); };
    END_EMAIL_TICKBOX.onClick = [this] { END_EMAIL_TICKBOX_Click(); };

    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
    MANAGE_TASKS_BUTTON.onClick = [this] { MANAGE_TASKS_BUTTON_Click(); };
    VIEW_SINGLE_SETTINGS_BUTTON.onClick = [this] { VIEW_SINGLE_SETTINGS_BUTTON_Click(); };
    VIEW_ALL_SETTINGS_BUTTON.onClick = [this] { VIEW_ALL_SETTINGS_BUTTON_Click(); };
    EMAIL_SETTINGS_BUTTON.onClick = [this] { EMAIL_SETTINGS_BUTTON_Click(); };
    SCHEDULER_SETTINGS_BUTTON.onClick = [this] { SCHEDULER_SETTINGS_BUTTON_Click(); };
    ABOUT_BUTTON.onClick = [this] { ABOUT_BUTTON_Click(); };
    CREATE_FOLDERS_BUTTON.onClick = [this] { CREATE_FOLDERS_BUTTON_Click(); };
}

void MainSettingsWindowModel::Form_Load()
{
    loadGeometry();
    restoreProgramSwitches(settings_, {AUTOSTART_TICKBOX, AlwaysOnTopTimer_TICKBOX, AUTOCLOSE_TICKBOX,
                                       KITT_AUTOSTART_TICKBOX, START_EMAIL_TICKBOX, END_EMAIL_TICKBOX});
    // Where the desktop has no topmost layer, this box says so as the main
    // window's does.
    AlwaysOnTopTimer_TICKBOX.setEnabled(main_.AlwaysOnTopTimer_TICKBOX.enabled());
    AlwaysOnTopTimer_TICKBOX.setToolTip(main_.AlwaysOnTopTimer_TICKBOX.toolTip());
}

bool MainSettingsWindowModel::hasUnsavedEdits() const
{
    const std::pair<const TickBox&, const keys::TickKey&> ticks[] = {
        {AUTOSTART_TICKBOX, keys::AUTOSTART_TICKBOX},     {AlwaysOnTopTimer_TICKBOX, keys::AlwaysOnTopTimer_TICKBOX},
        {AUTOCLOSE_TICKBOX, keys::AUTOCLOSE_TICKBOX},     {KITT_AUTOSTART_TICKBOX, keys::KITT_AUTOSTART_TICKBOX},
        {START_EMAIL_TICKBOX, keys::START_EMAIL_TICKBOX}, {END_EMAIL_TICKBOX, keys::END_EMAIL_TICKBOX},
    };
    return std::any_of(std::begin(ticks), std::end(ticks),
                       [this](const auto& t) { return t.first.value() != settings_.readTick(t.second); });
}

void MainSettingsWindowModel::OK_BUTTON_Click()
{
    // The ticks and the window's position, written when it closes, go together.
    const SettingsBatch batch(settings_.store());
    settings_.writeTick(keys::AlwaysOnTopTimer_TICKBOX, AlwaysOnTopTimer_TICKBOX.value());
    settings_.writeTick(keys::AUTOSTART_TICKBOX, AUTOSTART_TICKBOX.value());
    settings_.writeTick(keys::AUTOCLOSE_TICKBOX, AUTOCLOSE_TICKBOX.value());
    settings_.writeTick(keys::KITT_AUTOSTART_TICKBOX, KITT_AUTOSTART_TICKBOX.value());
    settings_.writeTick(keys::START_EMAIL_TICKBOX, START_EMAIL_TICKBOX.value());
    settings_.writeTick(keys::END_EMAIL_TICKBOX, END_EMAIL_TICKBOX.value());
    close();
}

void MainSettingsWindowModel::AUTOSTART_TICKBOX_Click() { mirror(AUTOSTART_TICKBOX, main_.AUTOSTART_TICKBOX); }

void MainSettingsWindowModel::AlwaysOnTopTimer_TICKBOX_Click()
{
    mirror(AlwaysOnTopTimer_TICKBOX, main_.AlwaysOnTopTimer_TICKBOX);
    main_.AlwaysOnTopTimer.setEnabled(AlwaysOnTopTimer_TICKBOX.value() == 1);
}

void MainSettingsWindowModel::AUTOCLOSE_TICKBOX_Click() { mirror(AUTOCLOSE_TICKBOX, main_.AUTOCLOSE_TICKBOX); }

void MainSettingsWindowModel::KITT_AUTOSTART_TICKBOX_Click()
{
    mirror(KITT_AUTOSTART_TICKBOX, main_.KITT_AUTOSTART_TICKBOX);
}

void MainSettingsWindowModel::START_EMAIL_TICKBOX_Click() { mirror(START_EMAIL_TICKBOX, main_.START_EMAIL_TICKBOX); }

void MainSettingsWindowModel::END_EMAIL_TICKBOX_Click() { mirror(END_EMAIL_TICKBOX, main_.END_EMAIL_TICKBOX); }

void MainSettingsWindowModel::MANAGE_TASKS_BUTTON_Click() { open(WindowKind::ManageTasks); }

void MainSettingsWindowModel::VIEW_SINGLE_SETTINGS_BUTTON_Click() { open(WindowKind::SingleTaskSettings); }

void MainSettingsWindowModel::VIEW_ALL_SETTINGS_BUTTON_Click() { open(WindowKind::AllTaskSettings); }

void MainSettingsWindowModel::EMAIL_SETTINGS_BUTTON_Click() { open(WindowKind::EmailSettings); }

void MainSettingsWindowModel::SCHEDULER_SETTINGS_BUTTON_Click() { open(WindowKind::SchedulerSettings); }

void MainSettingsWindowModel::ABOUT_BUTTON_Click() { open(WindowKind::About); }

void MainSettingsWindowModel::CREATE_FOLDERS_BUTTON_Click()
{
    makeFolder(QStringLiteral("BATS"));
    makeFolder(QStringLiteral("LOGS"));
}

void MainSettingsWindowModel::open(WindowKind kind)
{
    if (opener_ != nullptr)
        opener_->showModal(kind);
}

void MainSettingsWindowModel::makeFolder(const QString& name)
{
    const QString path = QDir(exe_.programFolder()).filePath(name);
    const FolderResult result = folders_.makeFolder(path);
    if (!result.ok && showError)
        showError(QStringLiteral("Could not create the folder \"%1\":\n%2").arg(path, result.error));
}

} // namespace zb
