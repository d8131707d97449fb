#include "SettingsKeys.h"

namespace zb::keys {

namespace {
QString slotKey(int n, const char* suffix) { return QStringLiteral("TASK_%1_%2").arg(n).arg(QLatin1String(suffix)); }
} // namespace

const TickKey AUTOSTART_TICKBOX{QStringLiteral("AUTOSTART_TICKBOX"), 0};
const TickKey AlwaysOnTopTimer_TICKBOX{QStringLiteral("AlwaysOnTopTimer_TICKBOX"), 1};
const TickKey AUTOCLOSE_TICKBOX{QStringLiteral("AUTOCLOSE_TICKBOX"), 0};
const TickKey KITT_AUTOSTART_TICKBOX{QStringLiteral("KITT_AUTOSTART_TICKBOX"), 0};
const TickKey START_EMAIL_TICKBOX{QStringLiteral("START_EMAIL_TICKBOX"), 0};
const TickKey END_EMAIL_TICKBOX{QStringLiteral("END_EMAIL_TICKBOX"), 0};
const TextKey LAST_RUN{QStringLiteral("LAST_RUN"), QString()};
const TextKey LAST_RUN_TIME{QStringLiteral("LAST_RUN_TIME"), QString()};

TickKey taskEnable(int n) { return {slotKey(n, "ENABLE_TICKBOX"), 0}; }
TickKey taskPause(int n) { return {slotKey(n, "PAUSE_TICKBOX"), 0}; }
TextKey taskCaption(int n) { return {slotKey(n, "TICKBOX_CAPTION"), QStringLiteral("TASK %1").arg(n)}; }
TextKey taskCommand(int n) { return {slotKey(n, "CMD"), QString()}; }
TextKey taskProcessName(int n) { return {slotKey(n, "PROCESS_NAME_TEXTBOX"), QString()}; }
TextKey taskTimeLimit(int n) { return {slotKey(n, "TIME_LIMIT_TEXTBOX"), QString()}; }
TickKey taskTimeLimitStop(int n) { return {slotKey(n, "TIME_LIMIT_STOP_TICKBOX"), 0}; }
TickKey taskStopOnFailure(int n) { return {slotKey(n, "STOP_ON_FAILURE_TICKBOX"), 0}; }

const TextKey SE_HOME_TEXTBOX{QStringLiteral("SE_HOME_TEXTBOX"), QString()};
const TextKey SMTP_SERVER_ADDRESS_PORT_TEXTBOX{QStringLiteral("SMTP_SERVER_ADDRESS_PORT_TEXTBOX"), QString()};
const TextKey SMTP_USERNAME_TEXTBOX{QStringLiteral("SMTP_USERNAME_TEXTBOX"), QString()};
const TextKey SMTP_PASSWORD_TEXTBOX{QStringLiteral("SMTP_PASSWORD_TEXTBOX"), QString()};
const TextKey SEND_FROM_ADDRESS_TEXTBOX{QStringLiteral("SEND_FROM_ADDRESS_TEXTBOX"), QString()};
const TextKey SEND_TO_ADDRESS_TEXTBOX{QStringLiteral("SEND_TO_ADDRESS_TEXTBOX"), QString()};
const TextKey SEND_CC_ADDRESS_TEXTBOX{QStringLiteral("SEND_CC_ADDRESS_TEXTBOX"), QString()};
const TextKey SEND_BCC_ADDRESS_TEXTBOX{QStringLiteral("SEND_BCC_ADDRESS_TEXTBOX"), QString()};
const TickKey TLS_NO_TICKBOX{QStringLiteral("TLS_NO_TICKBOX"), 1};
const TickKey TLS_YES_TICKBOX{QStringLiteral("TLS_YES_TICKBOX"), 0};
const TickKey TLS_AUTO_TICKBOX{QStringLiteral("TLS_AUTO_TICKBOX"), 0};
const TextKey EMAIL_OUTPUT_START_COMMAND_TEXTBOX{QStringLiteral("EMAIL_OUTPUT_START_COMMAND_TEXTBOX"), QString()};
const TextKey EMAIL_OUTPUT_END_COMMAND_TEXTBOX{QStringLiteral("EMAIL_OUTPUT_END_COMMAND_TEXTBOX"), QString()};
const TextKey TASK_RUN_TIME_TEXTBOX{QStringLiteral("TASK_RUN_TIME_TEXTBOX"), QStringLiteral("00:00")};
const TickKey SELECT_ALL_DAYS_TICKBOX{QStringLiteral("SELECT_ALL_DAYS_TICKBOX"), 0};
TickKey schedulerDay(int day)
{
    static const char* const names[] = {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"};
    return {QLatin1String(names[day]) + QStringLiteral("_TICKBOX"), 0};
}
const TickKey ENABLE_SCHED_TASK_TICKBOX{QStringLiteral("ENABLE_SCHED_TASK_TICKBOX"), 0};
const TickKey CATCH_UP_TICKBOX{QStringLiteral("CATCH_UP_TICKBOX"), 0};
const TextKey TASK_STATUS_TEXTBOX{QStringLiteral("TASK_STATUS_TEXTBOX"), QStringLiteral("TASK-DELETED")};
const TextKey SCHEDULED_SINCE{QStringLiteral("SCHEDULED_SINCE"), QString()};

const GeometryKeys MAIN{QStringLiteral("MAIN"), 1000, 1000, 6225, 4575};
const GeometryKeys SETTINGS{QStringLiteral("SETTINGS"), 1000, 1000, 17400, 6180};
const GeometryKeys SINGLE_SETTINGS{QStringLiteral("SINGLE_SETTINGS"), 1000, 1000, 11760, 4695};
const GeometryKeys MAIN_SETTINGS{QStringLiteral("MAIN_SETTINGS"), 1000, 1000, 9360, 2790};
const GeometryKeys MANAGE_TASKS_WINDOW{QStringLiteral("MANAGE_TASKS_WINDOW"), 1000, 1000, 11550, 6885};
const GeometryKeys EMAIL_MAIN_SETTINGS{QStringLiteral("EMAIL-MAIN-SETTINGS"), 1000, 1000, 9915, 5385};
const GeometryKeys SHARED_SETTINGS{QStringLiteral("SHARED-SETTINGS"), 1000, 1000, 9960, 5505};
const GeometryKeys SINGLE_OUTPUT_COMMANDS_WINDOW{QStringLiteral("SINGLE_OUTPUT_COMMANDS_WINDOW"), 1000, 1000, 11865,
                                                 3870};
const GeometryKeys WIN_SCHED_TASK{QStringLiteral("WIN_SCHED_TASK"), 1000, 1000, 9690, 7215};
const GeometryKeys ABOUT{QStringLiteral("ABOUT"), 1000, 1000, 10170, 4095};
const GeometryKeys HISTORY_WINDOW{QStringLiteral("HISTORY_WINDOW"), 1000, 1000, 12000, 6000};
const GeometryKeys DONATIONS_WINDOW{QStringLiteral("DONATIONS_WINDOW"), 1000, 1000, 8880, 6330};

} // namespace zb::keys
