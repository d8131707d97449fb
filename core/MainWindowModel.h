#pragma once

#include "Control.h"
#include "Settings.h"
#include "SlotArray.h"
#include "Timer.h"
#include "WindowGeometry.h"

#include <array>
#include <functional>

namespace zb {

class TimerHost;
class WindowOpener;

// Last-run texts and status texts that are read back.
namespace text {
inline const QString kStart = QStringLiteral("START");
inline const QString kStop = QStringLiteral("STOP");
inline const QString kCompletedSuccessfully = QStringLiteral("COMPLETED SUCCESSFULLY");
inline const QString kCompletedWithErrors = QStringLiteral("COMPLETED WITH ERRORS");
inline const QString kInterrupted = QStringLiteral("INTERRUPTED");
inline const QString kSettingsUnreadable = QStringLiteral("SETTINGS FILE UNREADABLE - STARTED ON DEFAULTS");
inline const QString kHistory = QStringLiteral("History");
inline const QString kHistoryToolTip = QStringLiteral("What ran, when, and how each task ended");
} // namespace text

// The main window ZB_SEQUENTA_MAIN as a model: its controls, its timers and
// the window-level clock values. The controls are the live state of the
// program; the run engine and the desk features attach handlers to them.
class MainWindowModel {
public:
    MainWindowModel(TimerHost& timers, Settings& settings);
    ~MainWindowModel();
    MainWindowModel(const MainWindowModel&) = delete;
    MainWindowModel& operator=(const MainWindowModel&) = delete;

    // Start-up: fills the window from the store and arms its timers.
    void Form_Load();
    // Shut-down: saves the position, the slot switches and the last-run text.
    // Runs once, however the window is closed.
    void Form_Unload();
    // Closes the window the normal way: through the view when one is bound
    // (its close runs Form_Unload), otherwise directly.
    void close();
    bool unloaded() const { return unloaded_; }

    void SETTINGS_BUTTON_Click();
    void MANAGE_TASKS_BUTTON_Click();
    void HISTORY_BUTTON_Click();
    void AUTOCLOSE_TICKBOX_Click();
    void AlwaysOnTopTimer_TICKBOX_Click();
    void TASK_LIGHT_DblClick(int n);

    // Shows a last-run text in LAST_RUN_TEXTBOX in the colours of its kind,
    // with the moment it was written (ISO 8601): the two are stored together.
    void showLastRun(const QString& text, Colour background, const QString& isoTime);
    void colourLastRunForStartUp();
    // Shows when the last-run text was written as LAST_RUN_TEXTBOX's tip,
    // and a note under it (what became of the end e-mail).
    void showLastRunTime(const QString& isoTime, const QString& note = QString());
    const QString& lastRunTime() const { return lastRunTime_; }

    void setWindowOpener(WindowOpener* opener) { opener_ = opener; }
    // Set by the view: close the real window (which then calls Form_Unload).
    std::function<void()> closeRequested;
    // Called after every title or geometry change, for the view.
    std::function<void()> windowChanged;
    // Set by the program: the title of an open window with unsaved edits,
    // empty when there is none. The autoclose does not close over it.
    std::function<QString()> openEditor;
    // Called once at the start of the shut-down, before the settings are saved.
    std::function<void()> onUnloading;
    // Called once at the end of the shut-down, after the settings are saved.
    std::function<void()> onUnloaded;

    const QString& title() const { return title_; }
    const WindowGeometry& geometry() const { return geometry_; }
    // The view reports where the user moved the window, in twips.
    void setPosition(double left, double top);

    Settings& settings() { return settings_; }
    TimerHost& timers() { return timers_; }

    // Slot rows.
    SlotArray<TickBox> TASK_ENABLE_TICKBOX;
    SlotArray<TickBox> TASK_PAUSE_TICKBOX;
    SlotArray<TextField> TASK_CMD_TEXTBOX;
    SlotArray<TextField> TASK_PROCESS_NAME_TEXTBOX;
    SlotArray<TextField> TASK_LIGHT;
    SlotArray<Timer> TASK_MAIN_TIMER;
    SlotArray<Timer> TASK_WATCHER_TIMER;
    Label Label2;
    Label Label3;

    // Run and status.
    Button MAIN_START_STOP_BUTTON;
    Label Label5;
    Label CURRENT_STATUS_LABEL;
    Label LAST_RUN_LABEL;
    TextField LAST_RUN_TEXTBOX;
    TextField RUNTIME_TEXTBOX;
    Timer RUNTIME_TIMER;
    Label Label6;
    Label APP_EXE_NAME_LABEL;
    TickBox AUTOSTART_TICKBOX;
    Button AUTOSTART_START_BUTTON;
    TextField AUTOSTART_TIMER_TEXTBOX;
    Timer AUTOSTART_TIMER;
    TickBox AUTOCLOSE_TICKBOX;
    Button AUTOCLOSE_START_BUTTON;
    TextField AUTOCLOSE_TIMER_TEXTBOX;
    Timer AUTOCLOSE_TIMER;
    TickBox START_EMAIL_TICKBOX;
    TickBox END_EMAIL_TICKBOX;
    Button SETTINGS_BUTTON;
    Button MANAGE_TASKS_BUTTON;
    Button HISTORY_BUTTON;
    TextField EMAIL_OUTPUT_START_COMMAND_TEXTBOX;
    TextField EMAIL_OUTPUT_END_COMMAND_TEXTBOX;
    TextField SE_HOME_TEXTBOX;
    Label ZB_TITLE;
    Label SEQUENTA_TITLE_LABEL;

    // Desk side.
    TickBox AlwaysOnTopTimer_TICKBOX;
    Timer AlwaysOnTopTimer;
    TickBox KITT_AUTOSTART_TICKBOX;
    Button KITT_START_BUTTON;
    NumberedArray<Label, 7> KITT_LABEL;
    Label KITT_BACKGROUND_LABEL;
    NumberedArray<Timer, 16> KITT_RED_TIMER;
    Timer HEARTBEAT_TIMER;
    TextField HEARTBEAT_COUNTDOWN_TEXTBOX;
    Timer NUMLOCK_TIMER_1;
    Timer NUMLOCK_TIMER_2;
    Timer NCS_TIMER;
    TextField VERT_NUM_LIGHT_LABEL;
    TextField VERT_CAPS_LIGHT_LABEL;
    TextField VERT_SCROLL_LIGHT_LABEL;

    // Window-level clock values in whole seconds, never stored.
    int runtimeSeconds = 0;
    int autostartCountdown = 0;
    int autocloseCountdown = 0;
    int heartbeatCountdown = 0;

    // AUTOCLOSE_TIMER runs because AUTOCLOSE_START_BUTTON started it, not as
    // the end-of-run step of a pass: a new pass leaves it running.
    bool autocloseStartedByHand = false;
    // The slot SINGLE TASK SETTINGS last loaded, which it opens on next time.
    int lastEditedSlot = 1;

private:
    void setTitle(const QString& title);
    // Marks slot n's command and process fields when they hold text typed
    // here rather than what the settings file holds.
    void markTypedHere(int n);

    TimerHost& timers_;
    Settings& settings_;
    WindowOpener* opener_ = nullptr;
    QString title_;
    QString lastRunTime_;
    WindowGeometry geometry_;
    bool unloaded_ = false;
    bool loaded_ = false;
    std::array<bool, kSlotCount + 1> typedHere_{};
};

} // namespace zb
