#include "SingleTaskSettingsWindowModel.h"

#include "EditorTexts.h"
#include "core/MainWindowModel.h"
#include "core/WindowOpener.h"
#include "platform/ExecutableInfo.h"
#include "platform/FileDialog.h"
#include "platform/SettingsStore.h"

#include <algorithm>

namespace zb {

namespace {
const QString kBrowseTitle = QStringLiteral("Select File To Run");
}

SingleTaskSettingsWindowModel::SingleTaskSettingsWindowModel(Settings& settings, MainWindowModel& main,
                                                             WindowOpener* opener, FileDialog& fileDialog,
                                                             const ExecutableInfo& exe)
    : EditorWindowModel(settings, keys::SINGLE_SETTINGS, QStringLiteral("ZB_SEQUENTA_SINGLE_SETTINGS_WINDOW"),
                        QStringLiteral("ZB-SEQUENTA - SINGLE SETTINGS")),
      TASK_LIGHT(QStringLiteral("TASK_LIGHT"), QStringLiteral("1")),
      TASK_1_NAME_TEXTBOX(QStringLiteral("TASK_1_NAME_TEXTBOX"), QStringLiteral("TASK_1_NAME_TEXTBOX")),
      TASK_1_CMD_TEXTBOX(QStringLiteral("TASK_1_CMD_TEXTBOX"), QStringLiteral("TASK_1_CMD_TEXTBOX")),
      TASK_1_PROCESS_NAME_TEXTBOX(QStringLiteral("TASK_1_PROCESS_NAME_TEXTBOX"),
                                  QStringLiteral("TASK_1_PROCESS_NAME_TEXTBOX")),
      TASK_LOAD_BUTTON(
          [](int n) { return Button(text::slotControlName(n, "LOAD_BUTTON"), QStringLiteral("TASK%1").arg(n)); }),
      BROWSE_FILE_BUTTON(QStringLiteral("BROWSE_FILE_BUTTON"), QString()),
      SAVE_BUTTON(QStringLiteral("SAVE_BUTTON"), QStringLiteral("Save")),
      VIEW_ALL_SETTINGS_BUTTON(QStringLiteral("VIEW_ALL_SETTINGS_BUTTON"), QStringLiteral("VIEW ALL SETTINGS")),
      OK_BUTTON(QStringLiteral("OK_BUTTON"), QStringLiteral("OK")),
      TASK_NUMBER_LABEL(QStringLiteral("TASK_NUMBER_LABEL"), QStringLiteral("TASK")),
      TASK_NAME_LABEL(QStringLiteral("TASK_NAME_LABEL"), QStringLiteral("TASK NAME")),
      TASK_PROCESS_NAME_LABEL(QStringLiteral("TASK_PROCESS_NAME_LABEL"),
                              QStringLiteral("P4P - MONITOR PROCESS (NONE: THE TASK ITSELF)")),
      TASK_CMD_LABEL(QStringLiteral("TASK_CMD_LABEL"), QStringLiteral("TASK COMMAND")),
      TIME_LIMIT_LABEL(QStringLiteral("TIME_LIMIT_LABEL"), QStringLiteral("TIME LIMIT (MIN)")),
      SINGLE_SETTINGS_LABEL(QStringLiteral("SINGLE_SETTINGS_LABEL"), QStringLiteral("SINGLE SETTINGS")),
      ZB_TITLE(QStringLiteral("ZB_TITLE"), text::kZebrane),
      ZB_SEQUENTA_TITLE(QStringLiteral("ZB_SEQUENTA_TITLE"), text::kProgramTitle),
      SAVED_LABEL(QStringLiteral("SAVED_LABEL"), QString()),
      main_(main),
      opener_(opener),
      fileDialog_(fileDialog),
      exe_(exe)
{
    TASK_LIGHT.setLocked(true);
    TASK_1_PROCESS_NAME_TEXTBOX.setToolTip(text::kProcessToolTip);
    for (TextField* f : {&TASK_1_NAME_TEXTBOX, &TASK_1_CMD_TEXTBOX, &TASK_1_PROCESS_NAME_TEXTBOX})
        f->onTextChanged = [this] { SAVED_LABEL.setCaption(QString()); };
    BROWSE_FILE_BUTTON.setToolTip(kBrowseTitle);

    for (int n = 1; n <= kSlotCount; ++n)
        TASK_LOAD_BUTTON[n].onClick = [this, n] { TASK_LOAD_BUTTON_Click(n); };
    BROWSE_FILE_BUTTON.onClick = [this] { BROWSE_FILE_BUTTON_Click(); };
    SAVE_BUTTON.onClick = [this] { SAVE_BUTTON_Click(); };
    VIEW_ALL_SETTINGS_BUTTON.onClick = [this] { VIEW_ALL_SETTINGS_BUTTON_Click(); };
    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
}

void SingleTaskSettingsWindowModel::Form_Load()
{
    loadGeometry();
    // A slot is always loaded, so that Save always has one to save.
    loadSlot(std::clamp(main_.lastEditedSlot, 1, kSlotCount));
}

void SingleTaskSettingsWindowModel::TASK_LOAD_BUTTON_Click(int n)
{
    if (!mayDropEdits())
        return;
    loadSlot(n);
}

void SingleTaskSettingsWindowModel::loadSlot(int n)
{
    main_.lastEditedSlot = n;
    SAVED_LABEL.setCaption(QString());
    TASK_LIGHT.setText(QString::number(n));
    TASK_1_NAME_TEXTBOX.setText(settings_.readText(keys::taskCaption(n)));
    TASK_1_CMD_TEXTBOX.setText(settings_.readText(keys::taskCommand(n)));
    TASK_1_PROCESS_NAME_TEXTBOX.setText(settings_.readText(keys::taskProcessName(n)));
    guards.load(settings_, n);
    rememberFields();
}

void SingleTaskSettingsWindowModel::rememberFields()
{
    savedFields_ =
        QStringList{TASK_1_NAME_TEXTBOX.text(), TASK_1_CMD_TEXTBOX.text(), TASK_1_PROCESS_NAME_TEXTBOX.text()} +
        guards.values();
}

QList<int> SingleTaskSettingsWindowModel::slotsWithUnsavedEdits() const
{
    const int n = loadedSlot();
    const QStringList now =
        QStringList{TASK_1_NAME_TEXTBOX.text(), TASK_1_CMD_TEXTBOX.text(), TASK_1_PROCESS_NAME_TEXTBOX.text()} +
        guards.values();
    if (n == 0 || now == savedFields_)
        return {};
    return {n};
}

int SingleTaskSettingsWindowModel::loadedSlot() const
{
    for (int n = 1; n <= kSlotCount; ++n)
        if (TASK_LIGHT.text() == QString::number(n))
            return n;
    return 0;
}

void SingleTaskSettingsWindowModel::SAVE_BUTTON_Click()
{
    const int n = loadedSlot();
    if (n == 0) {
        SAVED_LABEL.setCaption(QStringLiteral("NOT SAVED - PICK A TASK FIRST"));
        return;
    }
    const QString name = TASK_1_NAME_TEXTBOX.text();
    const QString command = TASK_1_CMD_TEXTBOX.text();
    const QString process = TASK_1_PROCESS_NAME_TEXTBOX.text();
    {
        const SettingsBatch batch(settings_.store());
        settings_.writeText(keys::taskCaption(n), name);
        settings_.writeText(keys::taskCommand(n), command);
        settings_.writeText(keys::taskProcessName(n), process);
        guards.store(settings_, n);
    }
    guards.checkLimit();
    main_.TASK_ENABLE_TICKBOX[n].setCaption(name);
    main_.TASK_CMD_TEXTBOX[n].setText(command);
    main_.TASK_PROCESS_NAME_TEXTBOX[n].setText(process);
    rememberFields();
    SAVED_LABEL.setCaption(QStringLiteral("TASK %1 SAVED").arg(n));
}

void SingleTaskSettingsWindowModel::BROWSE_FILE_BUTTON_Click()
{
    OpenFileRequest request;
    request.title = kBrowseTitle;
    request.initialFolder = exe_.programFolder();
    // Programs and scripts carry no extension to filter on here; the first
    // entry shows every file, the second narrows to shell scripts.
    request.filters = {QStringLiteral("Programs and scripts (*)"), QStringLiteral("Shell scripts (*.sh)"),
                       QStringLiteral("All files (*)")};
    // Only existing files can be chosen, and a Linux program has no suffix
    // to add to a typed name.
    request.defaultSuffix = QString();
    if (const std::optional<QString> path = fileDialog_.openFile(request))
        TASK_1_CMD_TEXTBOX.setText(*path);
}

void SingleTaskSettingsWindowModel::VIEW_ALL_SETTINGS_BUTTON_Click()
{
    if (opener_ != nullptr)
        opener_->showModal(WindowKind::AllTaskSettings);
}

void SingleTaskSettingsWindowModel::OK_BUTTON_Click() { close(); }

} // namespace zb
