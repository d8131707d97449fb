#include "AllTaskSettingsWindowModel.h"

#include "EditorTexts.h"
#include "core/ControlTexts.h"
#include "core/MainWindowModel.h"
#include "platform/SettingsStore.h"

namespace zb {

namespace {

const QString kDisplayName = QStringLiteral("Display Name");
const QString kFullRunCommand = QStringLiteral("Full Run Command");
const QString kProcessHeading = text::kProcessColumn;
const QString kLimitHeading = QStringLiteral("Limit (min), Stop, Stop chain");

TextField ownNamed(int n, const char* suffix)
{
    const QString name = text::slotControlName(n, suffix);
    return TextField(name, name);
}

} // namespace

AllTaskSettingsWindowModel::AllTaskSettingsWindowModel(Settings& settings, MainWindowModel& main)
    : EditorWindowModel(settings, keys::SETTINGS, QStringLiteral("ZB_SEQUENTA_SETTINGS"),
                        QStringLiteral("ZB-SEQUENTA - SETTINGS")),
      TASK_LIGHT([](int n) { return TextField(text::slotControlName(n, "LIGHT"), QString::number(n)); }),
      TASK_NAME_TEXTBOX([](int n) { return ownNamed(n, "NAME_TEXTBOX"); }),
      TASK_CMD_TEXTBOX([](int n) { return ownNamed(n, "CMD_TEXTBOX"); }),
      TASK_PROCESS_NAME_TEXTBOX([](int n) { return ownNamed(n, "PROCESS_NAME_TEXTBOX"); }),
      guards([](int n) { return SlotGuardControls(n); }),
      SAVE_BUTTON(QStringLiteral("SAVE_BUTTON"), QStringLiteral("Save")),
      CANCEL_BUTTON(QStringLiteral("CANCEL_BUTTON"), QStringLiteral("Cancel")),
      Label1(QStringLiteral("Label1"), kDisplayName),
      Label2(QStringLiteral("Label2"), kFullRunCommand),
      Label3(QStringLiteral("Label3"), kProcessHeading),
      Label4(QStringLiteral("Label4"), kDisplayName),
      Label5(QStringLiteral("Label5"), kFullRunCommand),
      Label6(QStringLiteral("Label6"), kProcessHeading),
      Label7(QStringLiteral("Label7"), kLimitHeading),
      Label8(QStringLiteral("Label8"), kLimitHeading),
      ZB_SEQUENTA_TITLE(QStringLiteral("ZB_SEQUENTA_TITLE"), QStringLiteral("ZEBRANE - ZB-SEQUENTA")),
      ZB_SEQUENTA_VERSION(QStringLiteral("ZB_SEQUENTA_VERSION"), text::kVersion),
      FREEWARE_LABEL(QStringLiteral("FREEWARE_LABEL"), QStringLiteral("!!! FREEWARE !!!")),
      ZB_SEQUENTA_CREATOR(QStringLiteral("ZB_SEQUENTA_CREATOR"), QStringLiteral("Made by ZEBRANE")),
      main_(main)
{
    for (int n = 1; n <= kSlotCount; ++n) {
        TASK_LIGHT[n].setLocked(true);
        TASK_PROCESS_NAME_TEXTBOX[n].setToolTip(text::kProcessToolTip);
        // The grid has no room for the ticks' captions: their headings and
        // tips say them.
        for (TickBox* tick : {&guards[n].TIME_LIMIT_STOP_TICKBOX, &guards[n].STOP_ON_FAILURE_TICKBOX}) {
            tick->setToolTip(tick->caption() + QStringLiteral(": ") + tick->toolTip());
            tick->setCaption(QString());
        }
    }
    SAVE_BUTTON.onClick = [this] { SAVE_BUTTON_Click(); };
    CANCEL_BUTTON.onClick = [this] { CANCEL_BUTTON_Click(); };
}

void AllTaskSettingsWindowModel::Form_Load()
{
    loadGeometry();
    for (int n = 1; n <= kSlotCount; ++n)
        TASK_NAME_TEXTBOX[n].setText(settings_.readText(keys::taskCaption(n)));
    for (int n = 1; n <= kSlotCount; ++n)
        TASK_CMD_TEXTBOX[n].setText(settings_.readText(keys::taskCommand(n)));
    for (int n = 1; n <= kSlotCount; ++n)
        TASK_PROCESS_NAME_TEXTBOX[n].setText(settings_.readText(keys::taskProcessName(n)));
    for (int n = 1; n <= kSlotCount; ++n)
        guards[n].load(settings_, n);
    rememberFields();
}

QStringList AllTaskSettingsWindowModel::fieldsOf(int n) const
{
    return QStringList{TASK_NAME_TEXTBOX[n].text(), TASK_CMD_TEXTBOX[n].text(), TASK_PROCESS_NAME_TEXTBOX[n].text()} +
           guards[n].values();
}

void AllTaskSettingsWindowModel::rememberFields()
{
    for (int n = 1; n <= kSlotCount; ++n)
        savedFields_[n] = fieldsOf(n);
}

QList<int> AllTaskSettingsWindowModel::slotsWithUnsavedEdits() const
{
    QList<int> edited;
    for (int n = 1; n <= kSlotCount; ++n)
        if (fieldsOf(n) != savedFields_[n])
            edited << n;
    return edited;
}

void AllTaskSettingsWindowModel::SAVE_BUTTON_Click()
{
    {
        const SettingsBatch batch(settings_.store());
        storePosition();
        for (int n = 1; n <= kSlotCount; ++n)
            settings_.writeText(keys::taskCaption(n), TASK_NAME_TEXTBOX[n].text());
        for (int n = 1; n <= kSlotCount; ++n)
            settings_.writeText(keys::taskCommand(n), TASK_CMD_TEXTBOX[n].text());
        for (int n = 1; n <= kSlotCount; ++n)
            settings_.writeText(keys::taskProcessName(n), TASK_PROCESS_NAME_TEXTBOX[n].text());
        for (int n = 1; n <= kSlotCount; ++n)
            guards[n].store(settings_, n);
    }
    for (int n = 1; n <= kSlotCount; ++n)
        guards[n].checkLimit();
    for (int n = 1; n <= kSlotCount; ++n)
        main_.TASK_ENABLE_TICKBOX[n].setCaption(TASK_NAME_TEXTBOX[n].text());
    for (int n = 1; n <= kSlotCount; ++n)
        main_.TASK_CMD_TEXTBOX[n].setText(TASK_CMD_TEXTBOX[n].text());
    for (int n = 1; n <= kSlotCount; ++n)
        main_.TASK_PROCESS_NAME_TEXTBOX[n].setText(TASK_PROCESS_NAME_TEXTBOX[n].text());
    CANCEL_BUTTON.setCaption(QStringLiteral("Close"));
    rememberFields();
}

void AllTaskSettingsWindowModel::CANCEL_BUTTON_Click()
{
    const SettingsBatch batch(settings_.store());
    storePosition();
    // "Cancel" says what it does; "Close" after a Save still asks.
    if (CANCEL_BUTTON.caption() == QStringLiteral("Cancel"))
        discardEditsOnClose();
    close();
}

void AllTaskSettingsWindowModel::ZB_SEQUENTA_CREATOR_Click()
{
    ZB_SEQUENTA_CREATOR.setCaption(QStringLiteral("Questions and ideas: see the README"));
}

} // namespace zb
