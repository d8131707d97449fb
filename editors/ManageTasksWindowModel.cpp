#include "ManageTasksWindowModel.h"

#include "EditorTexts.h"
#include "core/MainWindowModel.h"
#include "core/SwitchSettings.h"
#include "platform/SettingsStore.h"

namespace zb {

ManageTasksWindowModel::ManageTasksWindowModel(Settings& settings, MainWindowModel& main)
    : EditorWindowModel(settings, keys::MANAGE_TASKS_WINDOW, QStringLiteral("ZB_SEQUENTA_MANAGE_TASKS_WINDOW"),
                        QStringLiteral("ZB-SEQUENTA - ENABLE / DISABLE - TASKS / P4P")),
      TASK_ENABLE_TICKBOX(
          [](int n) { return TickBox(text::slotControlName(n, "ENABLE_TICKBOX"), QStringLiteral("TASK%1").arg(n)); }),
      TASK_PAUSE_TICKBOX(
          [](int n) { return TickBox(text::slotControlName(n, "PAUSE_TICKBOX"), QStringLiteral("P-4-P")); }),
      TASK_LIGHT([](int n) { return TextField(text::slotControlName(n, "LIGHT"), QString::number(n)); }),
      OK_BUTTON(QStringLiteral("OK_BUTTON"), QStringLiteral("OK")),
      CANCEL_BUTTON(QStringLiteral("CANCEL_BUTTON"), QStringLiteral("Cancel")),
      MANAGE_TASKS_LABEL(QStringLiteral("MANAGE_TASKS_LABEL"), QStringLiteral("ENABLE / DISABLE - TASKS / P4P")),
      ZB_TITLE(QStringLiteral("ZB_TITLE"), text::kZebrane),
      ZB_SEQUENTA_TITLE(QStringLiteral("ZB_SEQUENTA_TITLE"), text::kProgramTitle),
      main_(main)
{
    for (TextField& light : TASK_LIGHT)
        light.setLocked(true);
    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
    CANCEL_BUTTON.onClick = [this] { CANCEL_BUTTON_Click(); };
}

void ManageTasksWindowModel::Form_Load()
{
    loadGeometry();
    restoreSlotSwitches(settings_, TASK_ENABLE_TICKBOX, TASK_PAUSE_TICKBOX);
    restoreSlotCaptions(settings_, TASK_ENABLE_TICKBOX);
    rememberSaved();
}

void ManageTasksWindowModel::rememberSaved()
{
    for (int n = 1; n <= kSlotCount; ++n)
        saved_[std::size_t(n)] = {TASK_ENABLE_TICKBOX[n].value(), TASK_PAUSE_TICKBOX[n].value()};
}

QList<int> ManageTasksWindowModel::slotsWithUnsavedEdits() const
{
    QList<int> edited;
    for (int n = 1; n <= kSlotCount; ++n)
        if (saved_[std::size_t(n)] != std::pair(TASK_ENABLE_TICKBOX[n].value(), TASK_PAUSE_TICKBOX[n].value()))
            edited << n;
    return edited;
}

void ManageTasksWindowModel::OK_BUTTON_Click()
{
    saveEdits();
    close();
}

void ManageTasksWindowModel::saveEdits()
{
    for (int n = 1; n <= kSlotCount; ++n)
        main_.TASK_ENABLE_TICKBOX[n].setValue(TASK_ENABLE_TICKBOX[n].value());
    for (int n = 1; n <= kSlotCount; ++n)
        main_.TASK_PAUSE_TICKBOX[n].setValue(TASK_PAUSE_TICKBOX[n].value());
    const SettingsBatch batch(settings_.store());
    storeSlotSwitches(settings_, TASK_ENABLE_TICKBOX, TASK_PAUSE_TICKBOX);
    rememberSaved();
}

// The ticks changed here are dropped; the main window keeps its own.
void ManageTasksWindowModel::CANCEL_BUTTON_Click()
{
    discardEditsOnClose();
    close();
}

} // namespace zb
