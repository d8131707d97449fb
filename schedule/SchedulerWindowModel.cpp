#include "SchedulerWindowModel.h"

#include "ScheduleHealth.h"
#include "SchedulerTexts.h"
#include "editors/EditorTexts.h"
#include "engine/JournalText.h"
#include "engine/RunJournal.h"
#include "platform/Crontab.h"
#include "platform/ExecutableInfo.h"
#include "platform/ProcessQuery.h"
#include "platform/SettingsStore.h"

namespace zb {

namespace {

const char* const kDayNames[] = {"MON", "TUE", "WED", "THU", "FRI", "SAT", "SUN"};
const char* const kDayCaptions[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

QString dayControl(int day, const char* suffix)
{
    return QLatin1String(kDayNames[day]) + QLatin1Char('_') + QLatin1String(suffix);
}

} // namespace

SchedulerWindowModel::SchedulerWindowModel(Settings& settings, Crontab& crontab, ProcessQuery& processes,
                                           const ExecutableInfo& exe)
    : EditorWindowModel(settings, keys::WIN_SCHED_TASK, QStringLiteral("ZB_SEQUENTA_SCHEDULER_WINDOW"),
                        text::kSchedulerTitle),
      SCHEDULER_LABEL(QStringLiteral("SCHEDULER_LABEL"), QStringLiteral("\"SCHEDULED TASK\" MANAGER")),
      TITLE_LABEL(QStringLiteral("TITLE_LABEL"), text::kProgramTitle),
      TASK_NAME_LABEL(QStringLiteral("TASK_NAME_LABEL"), QStringLiteral("Task Name")),
      RUN_TIME_LABEL(QStringLiteral("RUN_TIME_LABEL"), QStringLiteral("Run Time")),
      OUTPUT_COMMAND_LABEL(QStringLiteral("OUTPUT_COMMAND_LABEL"), QStringLiteral("Output Command")),
      COMMAND_LINE_OPTIONS_LABEL(QStringLiteral("COMMAND_LINE_OPTIONS_LABEL"), QStringLiteral("Command Line Options")),
      SELECT_DAY_OPTION_LABEL(QStringLiteral("SELECT_DAY_OPTION_LABEL"), QStringLiteral("SELECT AN OPTION")),
      SCHED_TOP_MESSAGE_TEXTBOX(QStringLiteral("SCHED_TOP_MESSAGE_TEXTBOX"), text::kSchedulerNotice),
      TASK_NAME_TEXTBOX(QStringLiteral("TASK_NAME_TEXTBOX"), QStringLiteral("TASK_NAME_TEXTBOX")),
      TASK_RUN_TIME_TEXTBOX(QStringLiteral("TASK_RUN_TIME_TEXTBOX"), QStringLiteral("00:00")),
      SELECT_ALL_DAYS_TICKBOX(QStringLiteral("SELECT_ALL_DAYS_TICKBOX"), QStringLiteral("Every Day")),
      MON_TICKBOX(dayControl(0, "TICKBOX"), QLatin1String(kDayCaptions[0])),
      TUE_TICKBOX(dayControl(1, "TICKBOX"), QLatin1String(kDayCaptions[1])),
      WED_TICKBOX(dayControl(2, "TICKBOX"), QLatin1String(kDayCaptions[2])),
      THU_TICKBOX(dayControl(3, "TICKBOX"), QLatin1String(kDayCaptions[3])),
      FRI_TICKBOX(dayControl(4, "TICKBOX"), QLatin1String(kDayCaptions[4])),
      SAT_TICKBOX(dayControl(5, "TICKBOX"), QLatin1String(kDayCaptions[5])),
      SUN_TICKBOX(dayControl(6, "TICKBOX"), QLatin1String(kDayCaptions[6])),
      MON_TEXTBOX(dayControl(0, "TEXTBOX"), QStringLiteral("MON")),
      TUE_TEXTBOX(dayControl(1, "TEXTBOX"), QStringLiteral("TUE")),
      WED_TEXTBOX(dayControl(2, "TEXTBOX"), QStringLiteral("WED")),
      THU_TEXTBOX(dayControl(3, "TEXTBOX"), QStringLiteral("THU")),
      FRI_TEXTBOX(dayControl(4, "TEXTBOX"), QStringLiteral("FRI")),
      SAT_TEXTBOX(dayControl(5, "TEXTBOX"), QStringLiteral("SAT")),
      SUN_TEXTBOX(dayControl(6, "TEXTBOX"), QStringLiteral("SUN")),
      SELECTED_DAYS_TEXTBOX(QStringLiteral("SELECTED_DAYS_TEXTBOX"), QStringLiteral("SELECTED_DAYS_TEXTBOX")),
      CREATE_TASK_BUTTON(QStringLiteral("CREATE_TASK_BUTTON"), QStringLiteral("Create Task")),
      DELETE_TASK_BUTTON(QStringLiteral("DELETE_TASK_BUTTON"), QStringLiteral("Delete Task")),
      ENABLE_DELETE_BUTTON_TICKBOX(QStringLiteral("ENABLE_DELETE_BUTTON_TICKBOX"), QStringLiteral("Enable Delete")),
      ENABLE_SCHED_TASK_TICKBOX(QStringLiteral("ENABLE_SCHED_TASK_TICKBOX"), QStringLiteral("Enable Scheduled Task")),
      ONLY_VIEW_COMMAND_TICKBOX(QStringLiteral("ONLY_VIEW_COMMAND_TICKBOX"), QStringLiteral("ONLY VIEW COMMANDS")),
      OUTPUT_COMMAND_TEXTBOX(QStringLiteral("OUTPUT_COMMAND_TEXTBOX"), QString()),
      TASK_STATUS_TEXTBOX(QStringLiteral("TASK_STATUS_TEXTBOX"), QStringLiteral("TASK_STATUS_TEXTBOX")),
      Text11(QStringLiteral("Text11"), text::kCrontabReference),
      SCHEDULE_HEALTH_TEXTBOX(QStringLiteral("SCHEDULE_HEALTH_TEXTBOX"), QString()),
      OK_BUTTON(QStringLiteral("OK_BUTTON"), QStringLiteral("OK")),
      WORKING_DAYS_BUTTON(QStringLiteral("WORKING_DAYS_BUTTON"), QStringLiteral("Monday to Friday")),
      CATCH_UP_TICKBOX(QStringLiteral("CATCH_UP_TICKBOX"),
                       QStringLiteral("Run a missed start when the machine is back")),
      dayTicks{&MON_TICKBOX, &TUE_TICKBOX, &WED_TICKBOX, &THU_TICKBOX, &FRI_TICKBOX, &SAT_TICKBOX, &SUN_TICKBOX},
      dayFields{&MON_TEXTBOX, &TUE_TEXTBOX, &WED_TEXTBOX, &THU_TEXTBOX, &FRI_TEXTBOX, &SAT_TEXTBOX, &SUN_TEXTBOX},
      crontab_(crontab),
      processes_(processes),
      exe_(exe)
{
    // Working fields the user never sees.
    for (TextField* f : dayFields)
        f->setVisible(false);
    SELECTED_DAYS_TEXTBOX.setVisible(false);
    TASK_STATUS_TEXTBOX.setVisible(false);
    SCHED_TOP_MESSAGE_TEXTBOX.setLocked(true);
    TASK_NAME_TEXTBOX.setLocked(true);
    OUTPUT_COMMAND_TEXTBOX.setLocked(true);
    Text11.setLocked(true);
    SCHEDULE_HEALTH_TEXTBOX.setLocked(true);
    CREATE_TASK_BUTTON.setEnabled(false);
    DELETE_TASK_BUTTON.setEnabled(false);
    CATCH_UP_TICKBOX.setToolTip(
        QStringLiteral("The entry also runs at boot (@reboot). Started so, this copy runs its chain only when the "
                       "last scheduled minute went by without a start (the machine was off), and exits at once "
                       "otherwise. The journal and History then say \"caught up, planned for <time>\"."));

    SELECT_ALL_DAYS_TICKBOX.onClick = [this] { SELECT_ALL_DAYS_TICKBOX_Click(); };
    for (int d = 0; d < 7; ++d)
        dayTicks[std::size_t(d)]->onClick = [this, d] { DAY_TICKBOX_Click(d); };
    CREATE_TASK_BUTTON.onClick = [this] { CREATE_TASK_BUTTON_Click(); };
    DELETE_TASK_BUTTON.onClick = [this] { DELETE_TASK_BUTTON_Click(); };
    ENABLE_DELETE_BUTTON_TICKBOX.onClick = [this] { ENABLE_DELETE_BUTTON_TICKBOX_Click(); };
    ENABLE_SCHED_TASK_TICKBOX.onClick = [this] { ENABLE_SCHED_TASK_TICKBOX_Click(); };
    OK_BUTTON.onClick = [this] { OK_BUTTON_Click(); };
    WORKING_DAYS_BUTTON.onClick = [this] { WORKING_DAYS_BUTTON_Click(); };
}

SchedulerWindowModel::~SchedulerWindowModel() { crontab_.settle(); }

void SchedulerWindowModel::Form_Load()
{
    loadGeometry();
    TASK_RUN_TIME_TEXTBOX.setText(settings_.readText(keys::TASK_RUN_TIME_TEXTBOX));
    SELECT_ALL_DAYS_TICKBOX.setValue(settings_.readTick(keys::SELECT_ALL_DAYS_TICKBOX));
    for (int d = 0; d < 7; ++d)
        dayTicks[std::size_t(d)]->setValue(settings_.readTick(keys::schedulerDay(d)));
    ENABLE_SCHED_TASK_TICKBOX.setValue(settings_.readTick(keys::ENABLE_SCHED_TASK_TICKBOX));
    CATCH_UP_TICKBOX.setValue(settings_.readTick(keys::CATCH_UP_TICKBOX));
    TASK_STATUS_TEXTBOX.setText(settings_.readText(keys::TASK_STATUS_TEXTBOX));
    OUTPUT_COMMAND_TEXTBOX.setText(QString());
    TASK_NAME_TEXTBOX.setText(schedule::taskName(exe_.baseName()));
    for (TextField* f : dayFields)
        f->setText(QString());
    updateDayList();
    applyStatusState();
    // A look only: nothing is written.
    enqueue({[](const QByteArray&, QString&) { return std::optional<QByteArray>(); },
             [this](const QByteArray& table) { showHealth(table); }, nullptr});
}

void SchedulerWindowModel::OK_BUTTON_Click()
{
    // A change still running decides the status and the enable tick.
    crontab_.settle();
    storePosition();
    settings_.writeText(keys::TASK_RUN_TIME_TEXTBOX, TASK_RUN_TIME_TEXTBOX.text());
    settings_.writeTick(keys::SELECT_ALL_DAYS_TICKBOX, SELECT_ALL_DAYS_TICKBOX.value());
    for (int d = 0; d < 7; ++d)
        settings_.writeTick(keys::schedulerDay(d), dayTicks[std::size_t(d)]->value());
    settings_.writeTick(keys::ENABLE_SCHED_TASK_TICKBOX, ENABLE_SCHED_TASK_TICKBOX.value());
    if (settings_.readTick(keys::CATCH_UP_TICKBOX) != CATCH_UP_TICKBOX.value())
        settings_.writeTick(keys::CATCH_UP_TICKBOX, CATCH_UP_TICKBOX.value());
    settings_.writeText(keys::TASK_STATUS_TEXTBOX, TASK_STATUS_TEXTBOX.text());
    close();
}

bool SchedulerWindowModel::hasUnsavedEdits() const
{
    if (TASK_RUN_TIME_TEXTBOX.text() != settings_.readText(keys::TASK_RUN_TIME_TEXTBOX) ||
        SELECT_ALL_DAYS_TICKBOX.value() != settings_.readTick(keys::SELECT_ALL_DAYS_TICKBOX))
        return true;
    for (int d = 0; d < 7; ++d)
        if (dayTicks[std::size_t(d)]->value() != settings_.readTick(keys::schedulerDay(d)))
            return true;
    return false;
}

// --- Day choice: every day, or any set of weekdays ------------------------

void SchedulerWindowModel::SELECT_ALL_DAYS_TICKBOX_Click()
{
    const bool ticked = SELECT_ALL_DAYS_TICKBOX.ticked();
    setDayTicks(0, !ticked);
    CREATE_TASK_BUTTON.setEnabled(ticked);
    updateDayList();
}

void SchedulerWindowModel::DAY_TICKBOX_Click(int day)
{
    Q_UNUSED(day);
    // Any set of days: Every Day stands for all of them, so it is open only
    // while no single day is ticked.
    bool anyDay = false;
    for (TickBox* t : dayTicks)
        anyDay = anyDay || t->ticked();
    if (anyDay)
        SELECT_ALL_DAYS_TICKBOX.setValue(0);
    SELECT_ALL_DAYS_TICKBOX.setEnabled(!anyDay);
    CREATE_TASK_BUTTON.setEnabled(anyDay);
    updateDayList();
}

void SchedulerWindowModel::WORKING_DAYS_BUTTON_Click()
{
    SELECT_ALL_DAYS_TICKBOX.setValue(0);
    for (int d = 0; d < 7; ++d) {
        dayTicks[std::size_t(d)]->setEnabled(true);
        dayTicks[std::size_t(d)]->setValue(d < 5 ? 1 : 0);
    }
}

void SchedulerWindowModel::updateDayList()
{
    if (SELECT_ALL_DAYS_TICKBOX.ticked()) {
        SELECTED_DAYS_TEXTBOX.setText(schedule::dayList({true, {}}));
        return;
    }
    QString list;
    for (int d = 0; d < 7; ++d) {
        dayFields[std::size_t(d)]->setText(dayTicks[std::size_t(d)]->ticked() ? schedule::dayCode(d) : QString());
        list += dayFields[std::size_t(d)]->text();
    }
    SELECTED_DAYS_TEXTBOX.setText(list);
}

schedule::DayChoice SchedulerWindowModel::dayChoice() const
{
    schedule::DayChoice c;
    c.everyDay = SELECT_ALL_DAYS_TICKBOX.ticked();
    for (int d = 0; d < 7; ++d)
        c.days[std::size_t(d)] = dayTicks[std::size_t(d)]->ticked();
    return c;
}

void SchedulerWindowModel::setDayTicks(int value, bool enabled)
{
    for (TickBox* t : dayTicks) {
        t->setValue(value);
        t->setEnabled(enabled);
    }
}

// --- Create, Delete, Enable ----------------------------------------------

QByteArray SchedulerWindowModel::marker() const { return schedule::entryMarker(schedule::taskName(exe_.baseName())); }

QByteArray SchedulerWindowModel::bootMarker() const
{
    return schedule::bootMarker(schedule::taskName(exe_.baseName()));
}

void SchedulerWindowModel::CREATE_TASK_BUTTON_Click()
{
    const auto time = schedule::parseRunTime(TASK_RUN_TIME_TEXTBOX.text());
    if (!time) {
        showProblem(text::kBadRunTime);
        return;
    }
    const schedule::DayChoice choice = dayChoice();
    int days = 0;
    for (int d = 0; d < 7; ++d)
        if (choice.days[std::size_t(d)])
            days |= schedule::weekdayBit(d + 1);
    if (!choice.everyDay && days == 0) {
        showProblem(text::kNoDayChoice);
        return;
    }
    if (choice.everyDay)
        days = 0;
    // The file as it was started: a copy named nightly.exe keeps its ".exe".
    const QString program = exe_.programFolder() + QLatin1Char('/') + exe_.fileName();
    const schedule::ComposedLine composed = schedule::composeEntry(
        {time->minute, time->hour, days}, crontab_.sessionEnvironment(), program, schedule::taskName(exe_.baseName()));
    if (!composed.error.isEmpty()) {
        showProblem(composed.error);
        return;
    }
    QByteArray bootLine;
    if (CATCH_UP_TICKBOX.ticked()) {
        const schedule::ComposedLine boot =
            schedule::composeBootEntry(crontab_.sessionEnvironment(), program, schedule::taskName(exe_.baseName()));
        if (!boot.error.isEmpty()) {
            showProblem(boot.error);
            return;
        }
        bootLine = boot.line;
    }
    OUTPUT_COMMAND_TEXTBOX.setText(
        QString::fromUtf8(bootLine.isEmpty() ? composed.line : composed.line + '\n' + bootLine));
    if (ONLY_VIEW_COMMAND_TICKBOX.ticked())
        return;

    CREATE_TASK_BUTTON.setEnabled(false);
    const QByteArray line = composed.line;
    enqueue({[this, line, bootLine](const QByteArray& table, QString&) {
                 const QByteArray withLine = schedule::withEntry(table, marker(), line);
                 return bootLine.isEmpty() ? schedule::withoutEntry(withLine, bootMarker())
                                           : schedule::withEntry(withLine, bootMarker(), bootLine);
             },
             [this](const QByteArray& table) {
                 applyCreated();
                 showHealth(table);
             },
             [this] { CREATE_TASK_BUTTON.setEnabled(true); }});
}

void SchedulerWindowModel::DELETE_TASK_BUTTON_Click()
{
    OUTPUT_COMMAND_TEXTBOX.setText(QStringLiteral("crontab: remove the line ending in ") + QString::fromUtf8(marker()));
    if (ONLY_VIEW_COMMAND_TICKBOX.ticked())
        return;
    // No line is what Delete asks for, so a missing one is no failure.
    enqueue({[this](const QByteArray& table, QString&) -> std::optional<QByteArray> {
                 if (schedule::findEntry(table, marker()).state == schedule::EntryState::Missing &&
                     schedule::findEntry(table, bootMarker()).state == schedule::EntryState::Missing)
                     return std::nullopt;
                 return schedule::withoutEntry(schedule::withoutEntry(table, marker()), bootMarker());
             },
             [this](const QByteArray& table) {
                 applyDeleted();
                 showHealth(table);
             },
             nullptr});
}

void SchedulerWindowModel::ENABLE_SCHED_TASK_TICKBOX_Click()
{
    if (quiet_)
        return;
    const bool enable = ENABLE_SCHED_TASK_TICKBOX.ticked();
    OUTPUT_COMMAND_TEXTBOX.setText((enable ? QStringLiteral("crontab: enable the line ending in ")
                                           : QStringLiteral("crontab: disable the line ending in ")) +
                                   QString::fromUtf8(marker()));
    // Whether the line ran before: only a line that begins to run now starts
    // the time from which its starts are expected.
    auto ranBefore = std::make_shared<bool>(false);
    enqueue({[this, enable, ranBefore](const QByteArray& table, QString& error) -> std::optional<QByteArray> {
                 const schedule::EntryState state = schedule::findEntry(table, marker()).state;
                 *ranBefore = state == schedule::EntryState::Enabled;
                 // A missing line is as disabled as can be; enabling it is not.
                 if (state == schedule::EntryState::Missing) {
                     if (enable)
                         error = text::kNoEntryToEnable;
                     return std::nullopt;
                 }
                 return schedule::withEntryEnabled(schedule::withEntryEnabled(table, marker(), enable), bootMarker(),
                                                   enable);
             },
             [this, enable, ranBefore](const QByteArray& table) {
                 storeEnabled(enable ? 1 : 0, enable && !*ranBefore);
                 showHealth(table);
             },
             [this, enable] { setEnableTickQuietly(enable ? 0 : 1); }});
}

void SchedulerWindowModel::ENABLE_DELETE_BUTTON_TICKBOX_Click()
{
    DELETE_TASK_BUTTON.setEnabled(ENABLE_DELETE_BUTTON_TICKBOX.ticked());
}

void SchedulerWindowModel::setEnableTickQuietly(int value)
{
    quiet_ = true;
    ENABLE_SCHED_TASK_TICKBOX.setValue(value);
    quiet_ = false;
}

// --- The two states ------------------------------------------------------

void SchedulerWindowModel::storeStatus(const QString& status)
{
    TASK_STATUS_TEXTBOX.setText(status);
    settings_.writeText(keys::TASK_STATUS_TEXTBOX, status);
}

// The crontab changed: the store says so at once, as the status does, so
// that a window closed without OK still agrees with the crontab.
void SchedulerWindowModel::storeEnabled(int value, bool beginsToRun)
{
    settings_.writeTick(keys::ENABLE_SCHED_TASK_TICKBOX, value);
    if (beginsToRun)
        settings_.writeText(keys::SCHEDULED_SINCE, isoTimeWithOffset(now()));
}

void SchedulerWindowModel::applyStatusState()
{
    const QString& status = TASK_STATUS_TEXTBOX.text();
    if (status == text::kTaskCreated) {
        CREATE_TASK_BUTTON.setEnabled(false);
        ENABLE_DELETE_BUTTON_TICKBOX.setEnabled(true);
        ENABLE_SCHED_TASK_TICKBOX.setEnabled(true);
        SELECT_ALL_DAYS_TICKBOX.setEnabled(false);
        for (TickBox* t : dayTicks)
            t->setEnabled(false);
        WORKING_DAYS_BUTTON.setEnabled(false);
        CATCH_UP_TICKBOX.setEnabled(false);
        TASK_RUN_TIME_TEXTBOX.setLocked(true);
    } else if (status == text::kTaskDeleted) {
        ENABLE_DELETE_BUTTON_TICKBOX.setValue(0);
        ENABLE_DELETE_BUTTON_TICKBOX.setEnabled(false);
        ENABLE_SCHED_TASK_TICKBOX.setEnabled(false);
        ENABLE_SCHED_TASK_TICKBOX.setValue(0);
        SELECT_ALL_DAYS_TICKBOX.setValue(0);
        SELECT_ALL_DAYS_TICKBOX.setEnabled(true);
        setDayTicks(0, true);
        WORKING_DAYS_BUTTON.setEnabled(true);
        CATCH_UP_TICKBOX.setEnabled(true);
        CREATE_TASK_BUTTON.setEnabled(false);
        TASK_RUN_TIME_TEXTBOX.setLocked(false);
    }
    // Any other status leaves the controls as loaded.
}

void SchedulerWindowModel::applyCreated()
{
    storeStatus(text::kTaskCreated);
    ENABLE_SCHED_TASK_TICKBOX.setEnabled(true);
    // A new line runs: the tick says so, without a second crontab call.
    setEnableTickQuietly(1);
    storeEnabled(1, true);
    ENABLE_DELETE_BUTTON_TICKBOX.setEnabled(true);
    SELECT_ALL_DAYS_TICKBOX.setEnabled(false);
    for (TickBox* t : dayTicks)
        t->setEnabled(false);
    WORKING_DAYS_BUTTON.setEnabled(false);
    CATCH_UP_TICKBOX.setEnabled(false);
    if (CATCH_UP_TICKBOX.ticked()) {
        // The copy started at boot reads its schedule from the store: stored
        // now, not only at OK.
        const SettingsBatch batch(settings_.store());
        settings_.writeTick(keys::CATCH_UP_TICKBOX, 1);
        settings_.writeText(keys::TASK_RUN_TIME_TEXTBOX, TASK_RUN_TIME_TEXTBOX.text());
        settings_.writeTick(keys::SELECT_ALL_DAYS_TICKBOX, SELECT_ALL_DAYS_TICKBOX.value());
        for (int d = 0; d < 7; ++d)
            settings_.writeTick(keys::schedulerDay(d), dayTicks[std::size_t(d)]->value());
    }
    TASK_RUN_TIME_TEXTBOX.setLocked(true);
}

void SchedulerWindowModel::applyDeleted()
{
    storeStatus(text::kTaskDeleted);
    CREATE_TASK_BUTTON.setEnabled(true);
    DELETE_TASK_BUTTON.setEnabled(false);
    ENABLE_DELETE_BUTTON_TICKBOX.setValue(0);
    ENABLE_SCHED_TASK_TICKBOX.setEnabled(false);
    ENABLE_SCHED_TASK_TICKBOX.setValue(0);
    SELECT_ALL_DAYS_TICKBOX.setValue(0);
    SELECT_ALL_DAYS_TICKBOX.setEnabled(true);
    setDayTicks(0, true);
    WORKING_DAYS_BUTTON.setEnabled(true);
    CATCH_UP_TICKBOX.setEnabled(true);
    TASK_RUN_TIME_TEXTBOX.setText(QStringLiteral("00:00"));
    TASK_RUN_TIME_TEXTBOX.setLocked(false);
}

// --- The health line -----------------------------------------------------

void SchedulerWindowModel::showHealth(const QByteArray& table)
{
    const schedule::FoundEntry entry = schedule::findEntry(table, marker());
    QString health;
    bool warn = false;
    switch (entry.state) {
    case schedule::EntryState::Enabled: {
        const auto when = schedule::parseSchedule(entry.line);
        if (when)
            health = schedule::nextStartText(*when, now(), zone);
        if (health.isEmpty())
            health = QStringLiteral("Entry found: ") + QString::fromUtf8(entry.line.left(entry.line.indexOf(" # ")));
        if (cronDaemonAbsent()) {
            health += QStringLiteral(", but ") + text::kNoCronDaemon;
            warn = true;
        }
        if (const QString moved = schedule::sessionMismatchText(entry.line, crontab_.sessionEnvironment());
            !moved.isEmpty()) {
            health += QStringLiteral(". ") + moved;
            warn = true;
        }
        if (when && journal_ != nullptr) {
            const QDateTime since = QDateTime::fromString(settings_.readText(keys::SCHEDULED_SINCE), Qt::ISODate);
            const schedule::HealthPart last = schedule::lastStartText(journal_->readLines(), *when, now(), zone, since,
                                                                      schedule::marksScheduledStart(entry.line));
            if (!last.text.isEmpty())
                health += QStringLiteral(". ") + last.text;
            warn = warn || last.warn;
        }
        if (schedule::findEntry(table, bootMarker()).state == schedule::EntryState::Enabled) {
            // Only the last planned minute, and on whatever day the machine is back.
            health += QStringLiteral(". At boot it runs a start that the machine missed: the last one planned, if no "
                                     "pass ran after it");
            if (when && when->dayMask() != 0)
                health += QStringLiteral(", even on a day the entry leaves out");
        }
        break;
    }
    case schedule::EntryState::Disabled:
        health = text::kEntryDisabled;
        break;
    case schedule::EntryState::Missing:
        health = TASK_STATUS_TEXTBOX.text() == text::kTaskCreated ? text::kStoredButMissing : text::kNoEntry;
        warn = TASK_STATUS_TEXTBOX.text() == text::kTaskCreated;
        break;
    }
    SCHEDULE_HEALTH_TEXTBOX.setText(health);
    SCHEDULE_HEALTH_TEXTBOX.setForeground(warn ? colour::Red : colour::Black);
}

// Only a process list that was read can say the daemon is absent.
bool SchedulerWindowModel::cronDaemonAbsent() const
{
    if (crontab_.daemonNames().isEmpty())
        return false;
    for (const QString& name : crontab_.daemonNames())
        if (processes_.isProcessRunning(name) != ProcessPresence::NotRunning)
            return false;
    return true;
}

void SchedulerWindowModel::showProblem(const QString& message)
{
    SCHEDULE_HEALTH_TEXTBOX.setText(message);
    SCHEDULE_HEALTH_TEXTBOX.setForeground(colour::Red);
}

// --- One crontab change at a time ------------------------------------------

void SchedulerWindowModel::enqueue(Change change)
{
    queue_.push_back(std::move(change));
    runNext();
}

void SchedulerWindowModel::runNext()
{
    if (running_ || queue_.empty())
        return;
    running_ = true;
    const std::weak_ptr<int> alive = alive_;
    crontab_.read([this, alive](const CrontabResult& read) {
        if (alive.expired())
            return;
        if (!read.ok) {
            finish(false, {}, read.error);
            return;
        }
        QString error;
        const std::optional<QByteArray> edited = queue_.front().edit(read.table, error);
        if (!error.isEmpty()) {
            finish(false, {}, error);
            return;
        }
        if (!edited || *edited == read.table) {
            finish(true, read.table, {});
            return;
        }
        const QByteArray table = *edited;
        crontab_.write(table, [this, alive, table](const CrontabResult& written) {
            if (!alive.expired())
                finish(written.ok, table, written.error);
        });
    });
}

void SchedulerWindowModel::finish(bool ok, const QByteArray& table, const QString& error)
{
    const Change change = std::move(queue_.front());
    queue_.pop_front();
    running_ = false;
    if (ok) {
        if (change.onSuccess)
            change.onSuccess(table);
    } else {
        showProblem(error);
        if (change.onFailure)
            change.onFailure();
    }
    runNext();
}

} // namespace zb
