#include "SlotGuardControls.h"

#include "core/ControlTexts.h"
#include "core/Settings.h"
#include "core/TaskGuards.h"

namespace zb {

namespace {
const QString kLimitTip = QStringLiteral(
    "Minutes a P4P wait on this task may last (90, or 0.5); empty for no limit. At the limit the chain goes on, "
    "the light turns red and the pass ends with errors.");
const QString kNoLimitTip =
    QStringLiteral("Not a time limit, so none applies: give minutes above zero (90, or 0.5), or leave it empty.");
} // namespace

SlotGuardControls::SlotGuardControls(int n)
    : TIME_LIMIT_TEXTBOX(text::slotControlName(n, "TIME_LIMIT_TEXTBOX"), QString()),
      TIME_LIMIT_STOP_TICKBOX(text::slotControlName(n, "TIME_LIMIT_STOP_TICKBOX"), QStringLiteral("Stop at limit")),
      STOP_ON_FAILURE_TICKBOX(text::slotControlName(n, "STOP_ON_FAILURE_TICKBOX"),
                              QStringLiteral("Stop the chain if this task fails"))
{
    TIME_LIMIT_TEXTBOX.setToolTip(kLimitTip);
    TIME_LIMIT_STOP_TICKBOX.setToolTip(
        QStringLiteral("At the time limit, end the task: SIGTERM to it and to what it started, SIGKILL 10 seconds "
                       "later. Clear: the task is left running."));
    STOP_ON_FAILURE_TICKBOX.setToolTip(
        QStringLiteral("When this task ends non-zero or by a signal, or cannot start, or times out, while the chain "
                       "waits on it, the slots after it are skipped and the pass ends. A task that fails after the "
                       "chain moved on does not stop it: tick P4P to make the chain wait."));
}

void SlotGuardControls::load(const Settings& settings, int slot)
{
    TIME_LIMIT_TEXTBOX.setText(settings.readText(keys::taskTimeLimit(slot)));
    TIME_LIMIT_STOP_TICKBOX.setValue(settings.readTick(keys::taskTimeLimitStop(slot)));
    STOP_ON_FAILURE_TICKBOX.setValue(settings.readTick(keys::taskStopOnFailure(slot)));
    checkLimit();
}

void SlotGuardControls::store(Settings& settings, int slot) const
{
    // Only what changed is written: a file of an earlier version gains no
    // keys that say nothing new.
    const QString limit = TIME_LIMIT_TEXTBOX.text().trimmed();
    if (settings.readText(keys::taskTimeLimit(slot)) != limit)
        settings.writeText(keys::taskTimeLimit(slot), limit);
    if (settings.readTick(keys::taskTimeLimitStop(slot)) != TIME_LIMIT_STOP_TICKBOX.value())
        settings.writeTick(keys::taskTimeLimitStop(slot), TIME_LIMIT_STOP_TICKBOX.value());
    if (settings.readTick(keys::taskStopOnFailure(slot)) != STOP_ON_FAILURE_TICKBOX.value())
        settings.writeTick(keys::taskStopOnFailure(slot), STOP_ON_FAILURE_TICKBOX.value());
}

QStringList SlotGuardControls::values() const
{
    return {TIME_LIMIT_TEXTBOX.text(), QString::number(TIME_LIMIT_STOP_TICKBOX.value()),
            QString::number(STOP_ON_FAILURE_TICKBOX.value())};
}

void SlotGuardControls::checkLimit()
{
    const bool acceptable = acceptableTimeLimit(TIME_LIMIT_TEXTBOX.text());
    TIME_LIMIT_TEXTBOX.setForeground(acceptable ? colour::None : colour::Red);
    TIME_LIMIT_TEXTBOX.setToolTip(acceptable ? kLimitTip : kNoLimitTip);
}

} // namespace zb
