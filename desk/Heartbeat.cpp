#include "Heartbeat.h"

#include "DeskTexts.h"
#include "core/MainWindowModel.h"
#include "engine/ClockTexts.h"
#include "platform/Keyboard.h"
#include "platform/ScreenSaverInhibitor.h"

#include <algorithm>

namespace zb {

namespace {
constexpr int kCycleStart = 5 * 60 + 1;
constexpr int kResetTo = 5 * 60;
const QString kZero = QStringLiteral("00:00:00");
// Room for the first press's delay and a late tick on a busy machine.
constexpr int kBeforeBlanking = 10;
} // namespace

int heartbeatCycleSeconds(int idleLimitSeconds)
{
    if (idleLimitSeconds <= 0)
        return kCycleStart;
    const int margin = idleLimitSeconds >= 2 * kBeforeBlanking ? kBeforeBlanking : idleLimitSeconds / 2;
    return std::clamp(idleLimitSeconds - margin, 1, kCycleStart);
}

Heartbeat::Heartbeat(MainWindowModel& main, Keyboard& keyboard, ScreenSaverInhibitor& screenSaver)
    : main_(main),
      keyboard_(keyboard),
      screenSaver_(screenSaver)
{
    main_.HEARTBEAT_TIMER.onTick = [this] { HEARTBEAT_TIMER_Timer(); };
    main_.HEARTBEAT_TIMER.onEnabledChanged = [this] { runningChanged(); };
    main_.NUMLOCK_TIMER_1.onTick = [this] { NUMLOCK_TIMER_1_Timer(); };
    main_.NUMLOCK_TIMER_2.onTick = [this] { NUMLOCK_TIMER_2_Timer(); };
    main_.HEARTBEAT_COUNTDOWN_TEXTBOX.onDoubleClick = [this] { HEARTBEAT_COUNTDOWN_TEXTBOX_DblClick(); };
    main_.HEARTBEAT_COUNTDOWN_TEXTBOX.setLocked(true);
    main_.HEARTBEAT_COUNTDOWN_TEXTBOX.setForeground(colour::Green);
    main_.HEARTBEAT_COUNTDOWN_TEXTBOX.setBackground(colour::Black);
    screenSaver_.setChangeListener([this] { showKeepAwake(); });
    showKeepAwake();
}

Heartbeat::~Heartbeat()
{
    main_.HEARTBEAT_TIMER.onEnabledChanged = nullptr;
    screenSaver_.setChangeListener(nullptr);
    // Ending between the two presses would leave Num Lock flipped.
    if (main_.NUMLOCK_TIMER_2.enabled()) {
        main_.NUMLOCK_TIMER_2.setEnabled(false);
        keyboard_.press(LockKey::Num);
    }
    screenSaver_.release();
}

void Heartbeat::HEARTBEAT_TIMER_Timer()
{
    --main_.heartbeatCountdown;
    main_.HEARTBEAT_COUNTDOWN_TEXTBOX.setText(runtimeClockText(main_.heartbeatCountdown));
    if (main_.HEARTBEAT_COUNTDOWN_TEXTBOX.text() != kZero)
        return;
    main_.heartbeatCountdown = heartbeatCycleSeconds(keyboard_.idleLimitSeconds());
    main_.HEARTBEAT_COUNTDOWN_TEXTBOX.setText(runtimeClockText(main_.heartbeatCountdown));
    main_.KITT_BACKGROUND_LABEL.setBackground(colour::Cyan);
    main_.NUMLOCK_TIMER_1.setEnabled(true);
}

void Heartbeat::NUMLOCK_TIMER_1_Timer()
{
    main_.KITT_BACKGROUND_LABEL.setBackground(colour::Green);
    keyboard_.press(LockKey::Num);
    main_.NUMLOCK_TIMER_2.setEnabled(true);
    main_.NUMLOCK_TIMER_1.setEnabled(false);
}

void Heartbeat::NUMLOCK_TIMER_2_Timer()
{
    keyboard_.press(LockKey::Num);
    main_.KITT_BACKGROUND_LABEL.setBackground(colour::Black);
    main_.NUMLOCK_TIMER_2.setEnabled(false);
}

void Heartbeat::HEARTBEAT_COUNTDOWN_TEXTBOX_DblClick()
{
    main_.heartbeatCountdown = std::min(kResetTo, heartbeatCycleSeconds(keyboard_.idleLimitSeconds()));
    main_.HEARTBEAT_COUNTDOWN_TEXTBOX.setText(runtimeClockText(main_.heartbeatCountdown));
}

void Heartbeat::runningChanged()
{
    if (main_.HEARTBEAT_TIMER.enabled()) {
        screenSaver_.inhibit(inhibitionReason());
        fitCountdownToIdleLimit();
    } else
        screenSaver_.release();
    showKeepAwake();
}

void Heartbeat::keyboardChanged()
{
    if (main_.HEARTBEAT_TIMER.enabled())
        fitCountdownToIdleLimit();
    showKeepAwake();
}

void Heartbeat::fitCountdownToIdleLimit()
{
    const int cycle = heartbeatCycleSeconds(keyboard_.idleLimitSeconds());
    if (main_.heartbeatCountdown > cycle) {
        main_.heartbeatCountdown = cycle;
        main_.HEARTBEAT_COUNTDOWN_TEXTBOX.setText(runtimeClockText(cycle));
    }
}

void Heartbeat::showKeepAwake()
{
    main_.HEARTBEAT_COUNTDOWN_TEXTBOX.setToolTip(
        keepAwakeToolTip(main_.HEARTBEAT_TIMER.enabled(), keyboard_.pressProblem(LockKey::Num), screenSaver_.holder()));
}

} // namespace zb
