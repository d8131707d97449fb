#pragma once

#include "CronEntry.h"
#include "CrontabEdit.h"
#include "WindowsCommands.h"
#include "core/Control.h"
#include "editors/EditorWindowModel.h"

#include <QByteArray>
#include <QDateTime>
#include <QTimeZone>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace zb {

class Crontab;
class ExecutableInfo;
class ProcessQuery;
class RunJournal;

// ZB_SEQUENTA_SCHEDULER_WINDOW: one scheduled start of this copy, on any set
// of weekdays or every day, as one line of the user's crontab. The stored
// status and the controls change only when the crontab really changed; the
// health line says what the crontab holds.
class SchedulerWindowModel : public EditorWindowModel {
public:
    SchedulerWindowModel(Settings& settings, Crontab& crontab, ProcessQuery& processes, const ExecutableInfo& exe);
    // Lets every crontab call made so far report first.
    ~SchedulerWindowModel();

    // Where the health line reads how the last scheduled start went; none
    // by default.
    void setJournal(const RunJournal* journal) { journal_ = journal; }
    // The run time or a day tick differs from what OK last stored.
    bool hasUnsavedEdits() const override;

    // Geometry, run time, day ticks, enable tick and status from the store
    // (each tick that changes runs its click rule), then the state of the
    // status, then a look at the crontab for the health line.
    void Form_Load();
    // Waits for a crontab change still running, then stores what it ended
    // with.
    void OK_BUTTON_Click();

    void CREATE_TASK_BUTTON_Click();
    void DELETE_TASK_BUTTON_Click();
    void ENABLE_SCHED_TASK_TICKBOX_Click();
    void ENABLE_DELETE_BUTTON_TICKBOX_Click();
    void SELECT_ALL_DAYS_TICKBOX_Click();
    // day: 0 (Monday) to 6 (Sunday).
    void DAY_TICKBOX_Click(int day);
    // Ticks Monday to Friday alone.
    void WORKING_DAYS_BUTTON_Click();

    // The day list, recomputed whenever a day tick changes.
    void updateDayList();

    // True while a crontab call is running or waiting its turn.
    bool busy() const { return !queue_.empty(); }

    // The clock and time zone the next start is computed in; the system's
    // by default.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    QTimeZone zone = QTimeZone::systemTimeZone();

    Label SCHEDULER_LABEL;
    Label TITLE_LABEL;
    Label TASK_NAME_LABEL;
    Label RUN_TIME_LABEL;
    Label OUTPUT_COMMAND_LABEL;
    Label COMMAND_LINE_OPTIONS_LABEL;
    Label SELECT_DAY_OPTION_LABEL;

    TextField SCHED_TOP_MESSAGE_TEXTBOX;
    TextField TASK_NAME_TEXTBOX;
    TextField TASK_RUN_TIME_TEXTBOX;
    TickBox SELECT_ALL_DAYS_TICKBOX;
    TickBox MON_TICKBOX;
    TickBox TUE_TICKBOX;
    TickBox WED_TICKBOX;
    TickBox THU_TICKBOX;
    TickBox FRI_TICKBOX;
    TickBox SAT_TICKBOX;
    TickBox SUN_TICKBOX;
    TextField MON_TEXTBOX;
    TextField TUE_TEXTBOX;
    TextField WED_TEXTBOX;
    TextField THU_TEXTBOX;
    TextField FRI_TEXTBOX;
    TextField SAT_TEXTBOX;
    TextField SUN_TEXTBOX;
    TextField SELECTED_DAYS_TEXTBOX;
    Button CREATE_TASK_BUTTON;
    Button DELETE_TASK_BUTTON;
    TickBox ENABLE_DELETE_BUTTON_TICKBOX;
    TickBox ENABLE_SCHED_TASK_TICKBOX;
    TickBox ONLY_VIEW_COMMAND_TICKBOX;
    TextField OUTPUT_COMMAND_TEXTBOX;
    TextField TASK_STATUS_TEXTBOX;
    TextField Text11;
    // What the crontab really holds, or what went wrong.
    TextField SCHEDULE_HEALTH_TEXTBOX;
    Button OK_BUTTON;
    Button WORKING_DAYS_BUTTON;
    // The entry also runs at boot; the copy then runs only a missed start.
    TickBox CATCH_UP_TICKBOX;

    // Monday to Sunday.
    const std::array<TickBox*, 7> dayTicks;
    const std::array<TextField*, 7> dayFields;

private:
    // One crontab change: read the table, edit it, write it back when it
    // changed. On success the table as written goes to onSuccess; on failure
    // the crontab's message is shown and onFailure runs.
    struct Change {
        std::function<std::optional<QByteArray>(const QByteArray& table, QString& error)> edit;
        std::function<void(const QByteArray& table)> onSuccess;
        std::function<void()> onFailure;
    };
    void enqueue(Change change);
    void runNext();
    void finish(bool ok, const QByteArray& table, const QString& error);

    void applyStatusState();
    void applyCreated();
    void applyDeleted();
    void setDayTicks(int value, bool enabled);
    // Sets the enable tick from a result without running its click rule.
    void setEnableTickQuietly(int value);
    void showHealth(const QByteArray& table);
    bool cronDaemonAbsent() const;
    void showProblem(const QString& message);
    void storeStatus(const QString& status);
    void storeEnabled(int value, bool beginsToRun);
    QByteArray marker() const;
    QByteArray bootMarker() const;
    schedule::DayChoice dayChoice() const;

    Crontab& crontab_;
    ProcessQuery& processes_;
    const ExecutableInfo& exe_;
    const RunJournal* journal_ = nullptr;
    std::deque<Change> queue_;
    bool running_ = false;
    bool quiet_ = false;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

} // namespace zb
