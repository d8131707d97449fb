#pragma once

#include <QString>

// Every settings key the program uses, declared once with its default.
namespace zb::keys {

// A tick stored as "0" or "1".
struct TickKey {
    QString name;
    int fallback = 0;
};

// A text stored verbatim.
struct TextKey {
    QString name;
    QString fallback;
};

// The four geometry keys of one window, in twips.
struct GeometryKeys {
    QString prefix;
    double left = 1000;
    double top = 1000;
    double width = 0;
    double height = 0;

    QString leftKey() const { return prefix + QStringLiteral("-Left"); }
    QString topKey() const { return prefix + QStringLiteral("-Top"); }
    QString widthKey() const { return prefix + QStringLiteral("-Width"); }
    QString heightKey() const { return prefix + QStringLiteral("-Height"); }
};

// Section shared by every copy for the e-mail settings.
inline const QString kSharedEmailSection = QStringLiteral("ZB-SEQUENTA-SHARED-EMAIL-SETTINGS");

// Main window switches.
extern const TickKey AUTOSTART_TICKBOX;
extern const TickKey AlwaysOnTopTimer_TICKBOX;
extern const TickKey AUTOCLOSE_TICKBOX;
extern const TickKey KITT_AUTOSTART_TICKBOX;
extern const TickKey START_EMAIL_TICKBOX;
extern const TickKey END_EMAIL_TICKBOX;
extern const TextKey LAST_RUN;
extern const TextKey LAST_RUN_TIME; // when LAST_RUN was stored at an autoclose, ISO 8601 with offset

// Slot keys, n = 1 to 20.
TickKey taskEnable(int n);        // TASK_n_ENABLE_TICKBOX
TickKey taskPause(int n);         // TASK_n_PAUSE_TICKBOX
TextKey taskCaption(int n);       // TASK_n_TICKBOX_CAPTION, default "TASK n"
TextKey taskCommand(int n);       // TASK_n_CMD
TextKey taskProcessName(int n);   // TASK_n_PROCESS_NAME_TEXTBOX
TextKey taskTimeLimit(int n);     // TASK_n_TIME_LIMIT_TEXTBOX: minutes a wait may last, empty for no limit
TickKey taskTimeLimitStop(int n); // TASK_n_TIME_LIMIT_STOP_TICKBOX: the task is stopped at its limit
TickKey taskStopOnFailure(int n); // TASK_n_STOP_ON_FAILURE_TICKBOX: its failure skips the slots after it

// E-mail settings: the same names in this copy's section and in the shared
// section.
extern const TextKey SE_HOME_TEXTBOX;
extern const TextKey SMTP_SERVER_ADDRESS_PORT_TEXTBOX;
extern const TextKey SMTP_USERNAME_TEXTBOX;
extern const TextKey SMTP_PASSWORD_TEXTBOX;
extern const TextKey SEND_FROM_ADDRESS_TEXTBOX;
extern const TextKey SEND_TO_ADDRESS_TEXTBOX;
extern const TextKey SEND_CC_ADDRESS_TEXTBOX;
extern const TextKey SEND_BCC_ADDRESS_TEXTBOX;
extern const TickKey TLS_NO_TICKBOX;
extern const TickKey TLS_YES_TICKBOX;
extern const TickKey TLS_AUTO_TICKBOX;
// The last e-mail commands confirmed with OK (this copy's section only).
extern const TextKey EMAIL_OUTPUT_START_COMMAND_TEXTBOX;
extern const TextKey EMAIL_OUTPUT_END_COMMAND_TEXTBOX;
// Scheduled-task window.
extern const TextKey TASK_RUN_TIME_TEXTBOX;
extern const TickKey SELECT_ALL_DAYS_TICKBOX;
TickKey schedulerDay(int day); // MON_TICKBOX (day 0) … SUN_TICKBOX (day 6)
extern const TickKey ENABLE_SCHED_TASK_TICKBOX;
// The entry also runs at boot, to catch up a start the machine missed.
extern const TickKey CATCH_UP_TICKBOX;
extern const TextKey TASK_STATUS_TEXTBOX;
// When this copy's crontab entry was last created or enabled, ISO 8601 with
// offset: scheduled starts before it were not expected.
extern const TextKey SCHEDULED_SINCE;

// Window geometry.
extern const GeometryKeys MAIN;
extern const GeometryKeys SETTINGS;
extern const GeometryKeys SINGLE_SETTINGS;
extern const GeometryKeys MAIN_SETTINGS;
extern const GeometryKeys MANAGE_TASKS_WINDOW;
extern const GeometryKeys EMAIL_MAIN_SETTINGS;
extern const GeometryKeys SHARED_SETTINGS;
extern const GeometryKeys SINGLE_OUTPUT_COMMANDS_WINDOW;
extern const GeometryKeys WIN_SCHED_TASK;
extern const GeometryKeys ABOUT;
extern const GeometryKeys DONATIONS_WINDOW;
extern const GeometryKeys HISTORY_WINDOW;

} // namespace zb::keys
