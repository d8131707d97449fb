#include "MainWindowModel.h"

#include "ControlTexts.h"
#include "SwitchSettings.h"
#include "WindowOpener.h"
#include "platform/SettingsStore.h"

#include <QDateTime>

namespace zb {

namespace {

constexpr int kOneSecond = 1000;
constexpr int kKittStepMs = 100;
constexpr int kNumLockStepMs = 750;
constexpr int kCountdownStart = 11;
constexpr int kHeartbeatStart = 5 * 60 + 1;

// When the last-run text was written, in the words of its kind: the end of a
// run, the last sign of an interrupted one, or a press of a countdown button.
QString lastRunToolTip(const QString& text, const QDateTime& at)
{
    if (!at.isValid())
        return QString();
    const QString when = at.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t"));
    if (text.startsWith(text::kInterrupted))
        return QStringLiteral("Last run interrupted, last seen running %1").arg(when);
    if (text.startsWith(text::kCompletedSuccessfully) || text.startsWith(text::kCompletedWithErrors))
        return QStringLiteral("Last run ended %1").arg(when);
    return QStringLiteral("Set %1").arg(when);
}

} // namespace

MainWindowModel::MainWindowModel(TimerHost& timers, Settings& settings)
    : TASK_ENABLE_TICKBOX(
          [](int n) { return TickBox(text::slotControlName(n, "ENABLE_TICKBOX"), QStringLiteral("TASK%1").arg(n)); }),
      TASK_PAUSE_TICKBOX(
          [](int n) { return TickBox(text::slotControlName(n, "PAUSE_TICKBOX"), QStringLiteral("P-4-P")); }),
      TASK_CMD_TEXTBOX([](int n) {
          return TextField(text::slotControlName(n, "CMD_TEXTBOX"), text::slotControlName(n, "CMD_TEXTBOX"));
      }),
      TASK_PROCESS_NAME_TEXTBOX([](int n) {
          return TextField(text::slotControlName(n, "PROCESS_NAME_TEXTBOX"),
                           text::slotControlName(n, "PROCESS_NAME_TEXTBOX"));
      }),
      TASK_LIGHT([](int n) { return TextField(text::slotControlName(n, "LIGHT"), QString::number(n)); }),
      TASK_MAIN_TIMER([&timers](int n) { return Timer(timers, text::slotControlName(n, "MAIN_TIMER")); }),
      TASK_WATCHER_TIMER([&timers](int n) { return Timer(timers, text::slotControlName(n, "WATCHER_TIMER")); }),
      Label2(QStringLiteral("Label2"), QStringLiteral("Full Run Command")),
      Label3(QStringLiteral("Label3"), text::kProcessColumn),
      MAIN_START_STOP_BUTTON(QStringLiteral("MAIN_START_STOP_BUTTON"), text::kStart),
      Label5(QStringLiteral("Label5"), QStringLiteral("Status:")),
      CURRENT_STATUS_LABEL(QStringLiteral("CURRENT_STATUS_LABEL"), QStringLiteral("Status")),
      LAST_RUN_LABEL(QStringLiteral("LAST_RUN_LABEL"), QStringLiteral("Last Run:")),
      LAST_RUN_TEXTBOX(QStringLiteral("LAST_RUN_TEXTBOX"), QStringLiteral("SUCCESS / AUTOCLOSE-TIMER")),
      RUNTIME_TEXTBOX(QStringLiteral("RUNTIME_TEXTBOX"), QStringLiteral("00:00:00")),
      RUNTIME_TIMER(timers, QStringLiteral("RUNTIME_TIMER")),
      Label6(QStringLiteral("Label6"), QStringLiteral("Filename:")),
      APP_EXE_NAME_LABEL(QStringLiteral("APP_EXE_NAME_LABEL"), QStringLiteral("App.EXEName")),
      AUTOSTART_TICKBOX(QStringLiteral("AUTOSTART_TICKBOX"), text::kAutostartCaption),
      AUTOSTART_START_BUTTON(QStringLiteral("AUTOSTART_START_BUTTON"), text::kStart),
      AUTOSTART_TIMER_TEXTBOX(QStringLiteral("AUTOSTART_TIMER_TEXTBOX"), QStringLiteral("00")),
      AUTOSTART_TIMER(timers, QStringLiteral("AUTOSTART_TIMER")),
      AUTOCLOSE_TICKBOX(QStringLiteral("AUTOCLOSE_TICKBOX"), text::kAutocloseCaption),
      AUTOCLOSE_START_BUTTON(QStringLiteral("AUTOCLOSE_START_BUTTON"), text::kStart),
      AUTOCLOSE_TIMER_TEXTBOX(QStringLiteral("AUTOCLOSE_TIMER_TEXTBOX"), QStringLiteral("00")),
      AUTOCLOSE_TIMER(timers, QStringLiteral("AUTOCLOSE_TIMER")),
      START_EMAIL_TICKBOX(QStringLiteral("START_EMAIL_TICKBOX"), text::kStartEmailCaption),
      END_EMAIL_TICKBOX(QStringLiteral("END_EMAIL_TICKBOX"), text::kEndEmailCaption),
      SETTINGS_BUTTON(QStringLiteral("SETTINGS_BUTTON"), QStringLiteral("Settings")),
      MANAGE_TASKS_BUTTON(QStringLiteral("MANAGE_TASKS_BUTTON"), QStringLiteral("Tasks")),
      HISTORY_BUTTON(QStringLiteral("HISTORY_BUTTON"), text::kHistory),
      EMAIL_OUTPUT_START_COMMAND_TEXTBOX(QStringLiteral("EMAIL_OUTPUT_START_COMMAND_TEXTBOX"),
                                         QStringLiteral("EMAIL_OUTPUT_START_COMMAND_TEXTBOX\n")),
      EMAIL_OUTPUT_END_COMMAND_TEXTBOX(QStringLiteral("EMAIL_OUTPUT_END_COMMAND_TEXTBOX"),
                                       QStringLiteral("EMAIL_OUTPUT_END_COMMAND_TEXTBOX\n")),
      SE_HOME_TEXTBOX(QStringLiteral("SE_HOME_TEXTBOX"), QStringLiteral("SendEmail.exe - HOME-FOLDER")),
      ZB_TITLE(QStringLiteral("ZB_TITLE"), text::kZebrane),
      SEQUENTA_TITLE_LABEL(QStringLiteral("SEQUENTA_TITLE_LABEL"), QStringLiteral("SEQUENTA - V2")),
      AlwaysOnTopTimer_TICKBOX(QStringLiteral("AlwaysOnTopTimer_TICKBOX"), text::kAlwaysOnTopCaption, 1),
      AlwaysOnTopTimer(timers, QStringLiteral("AlwaysOnTopTimer")),
      KITT_AUTOSTART_TICKBOX(QStringLiteral("KITT_AUTOSTART_TICKBOX"), text::kKittAutostartCaption),
      KITT_START_BUTTON(QStringLiteral("KITT_START_BUTTON"), text::kStart),
      KITT_LABEL([](int n) { return Label(QStringLiteral("KITT_LABEL_%1").arg(n), QString()); }),
      KITT_BACKGROUND_LABEL(QStringLiteral("KITT_BACKGROUND_LABEL"), QString()),
      KITT_RED_TIMER([&timers](int n) { return Timer(timers, QStringLiteral("KITT_RED_TIMER_%1").arg(n)); }),
      HEARTBEAT_TIMER(timers, QStringLiteral("HEARTBEAT_TIMER")),
      HEARTBEAT_COUNTDOWN_TEXTBOX(QStringLiteral("HEARTBEAT_COUNTDOWN_TEXTBOX"), QStringLiteral("00:00:00")),
      NUMLOCK_TIMER_1(timers, QStringLiteral("NUMLOCK_TIMER_1")),
      NUMLOCK_TIMER_2(timers, QStringLiteral("NUMLOCK_TIMER_2")),
      NCS_TIMER(timers, QStringLiteral("NCS_TIMER")),
      VERT_NUM_LIGHT_LABEL(QStringLiteral("VERT_NUM_LIGHT_LABEL"), QStringLiteral("N")),
      VERT_CAPS_LIGHT_LABEL(QStringLiteral("VERT_CAPS_LIGHT_LABEL"), QStringLiteral("C")),
      VERT_SCROLL_LIGHT_LABEL(QStringLiteral("VERT_SCROLL_LIGHT_LABEL"), QStringLiteral("S")),
      timers_(timers),
      settings_(settings)
{
    for (int n = 1; n <= kSlotCount; ++n) {
        TASK_PROCESS_NAME_TEXTBOX[n].setToolTip(text::kProcessToolTip);
        TASK_LIGHT[n].setLocked(true);
        TASK_LIGHT[n].setBackground(colour::White); // lights are white until a run paints them
        TASK_LIGHT[n].onDoubleClick = [this, n] { TASK_LIGHT_DblClick(n); };
        TASK_CMD_TEXTBOX[n].onTextChanged = [this, n] { markTypedHere(n); };
        TASK_PROCESS_NAME_TEXTBOX[n].onTextChanged = [this, n] { markTypedHere(n); };
    }
    LAST_RUN_TEXTBOX.setLocked(true);
    RUNTIME_TEXTBOX.setLocked(true);
    AUTOSTART_TIMER_TEXTBOX.setLocked(true);
    AUTOSTART_TIMER_TEXTBOX.setToolTip(QStringLiteral("AutoStart Countdown Timer"));
    AUTOCLOSE_TIMER_TEXTBOX.setLocked(true);
    AUTOCLOSE_TIMER_TEXTBOX.setToolTip(QStringLiteral("AutoClose Countdown Timer"));
    AUTOCLOSE_START_BUTTON.setEnabled(false);
    MANAGE_TASKS_BUTTON.setToolTip(QStringLiteral("ENABLE / DISABLE TASKS"));
    const auto describe = [](Button& b, const QString& tip, const QString& name) {
        b.setToolTip(tip);
        b.setAccessibleName(name);
    };
    describe(MAIN_START_STOP_BUTTON, text::kMainStartTip, text::kMainStartName);
    describe(AUTOSTART_START_BUTTON, text::kAutostartStartTip, text::kAutostartName);
    describe(AUTOCLOSE_START_BUTTON, text::kAutocloseStartTip, text::kAutocloseName);
    describe(KITT_START_BUTTON, text::kKittStartTip, text::kKittName);
    EMAIL_OUTPUT_START_COMMAND_TEXTBOX.setVisible(false);
    EMAIL_OUTPUT_END_COMMAND_TEXTBOX.setVisible(false);
    SE_HOME_TEXTBOX.setVisible(false);
    HEARTBEAT_COUNTDOWN_TEXTBOX.setLocked(true);

    SETTINGS_BUTTON.onClick = [this] { SETTINGS_BUTTON_Click(); };
    MANAGE_TASKS_BUTTON.onClick = [this] { MANAGE_TASKS_BUTTON_Click(); };
    HISTORY_BUTTON.setToolTip(text::kHistoryToolTip);
    HISTORY_BUTTON.onClick = [this] { HISTORY_BUTTON_Click(); };
    AUTOCLOSE_TICKBOX.onClick = [this] { AUTOCLOSE_TICKBOX_Click(); };
    AlwaysOnTopTimer_TICKBOX.onClick = [this] { AlwaysOnTopTimer_TICKBOX_Click(); };
}

void MainWindowModel::markTypedHere(int n)
{
    // Start-up and the editors set what the file holds; only text typed on
    // this window differs from it, and it is used until the program ends.
    if (!loaded_)
        return;
    const bool command = TASK_CMD_TEXTBOX[n].text() != settings_.readText(keys::taskCommand(n));
    const bool process = TASK_PROCESS_NAME_TEXTBOX[n].text() != settings_.readText(keys::taskProcessName(n));
    TASK_CMD_TEXTBOX[n].setToolTip(command ? text::kTypedHere : QString());
    TASK_PROCESS_NAME_TEXTBOX[n].setToolTip(process ? text::kTypedHere + QStringLiteral("\n\n") + text::kProcessToolTip
                                                    : text::kProcessToolTip);
    const bool typed = command || process;
    if (typed && !typedHere_[static_cast<std::size_t>(n)])
        CURRENT_STATUS_LABEL.setCaption(QStringLiteral("TASK %1 CHANGED HERE FOR THIS RUN ONLY - NOT SAVED").arg(n));
    typedHere_[static_cast<std::size_t>(n)] = typed;
}

void MainWindowModel::Form_Load()
{
    geometry_ = settings_.readGeometry(keys::MAIN);

    APP_EXE_NAME_LABEL.setCaption(settings_.section());
    setTitle(QStringLiteral("ZB-SEQUENTA - ") + APP_EXE_NAME_LABEL.caption());

    LAST_RUN_TEXTBOX.setText(settings_.readText(keys::LAST_RUN));
    showLastRunTime(settings_.readText(keys::LAST_RUN_TIME));

    // Restoring a tick runs its click reaction when the value differs.
    restoreProgramSwitches(settings_, {AUTOSTART_TICKBOX, AlwaysOnTopTimer_TICKBOX, AUTOCLOSE_TICKBOX,
                                       KITT_AUTOSTART_TICKBOX, START_EMAIL_TICKBOX, END_EMAIL_TICKBOX});
    restoreSlotSwitches(settings_, TASK_ENABLE_TICKBOX, TASK_PAUSE_TICKBOX);
    restoreSlotCaptions(settings_, TASK_ENABLE_TICKBOX);
    for (int n = 1; n <= kSlotCount; ++n)
        TASK_CMD_TEXTBOX[n].setText(settings_.readText(keys::taskCommand(n)));
    for (int n = 1; n <= kSlotCount; ++n)
        TASK_PROCESS_NAME_TEXTBOX[n].setText(settings_.readText(keys::taskProcessName(n)));
    loaded_ = true;

    NCS_TIMER.setEnabled(true);
    NCS_TIMER.setInterval(100);
    RUNTIME_TIMER.setInterval(kOneSecond);

    runtimeSeconds = 0;
    autostartCountdown = kCountdownStart;
    autocloseCountdown = kCountdownStart;
    heartbeatCountdown = kHeartbeatStart;

    for (Timer* t : {&AlwaysOnTopTimer, &AUTOSTART_TIMER, &AUTOCLOSE_TIMER, &HEARTBEAT_TIMER})
        t->setInterval(kOneSecond);
    for (int n = 1; n <= kSlotCount; ++n) {
        TASK_MAIN_TIMER[n].setInterval(kOneSecond);
        TASK_WATCHER_TIMER[n].setInterval(kOneSecond);
    }

    colourLastRunForStartUp();

    for (Timer& t : KITT_RED_TIMER) {
        t.setEnabled(false);
        t.setInterval(kKittStepMs);
    }
    for (Timer* t : {&NUMLOCK_TIMER_1, &NUMLOCK_TIMER_2}) {
        t->setEnabled(false);
        t->setInterval(kNumLockStepMs);
    }
    for (Label& l : KITT_LABEL)
        l.setBackground(colour::Red);

    AlwaysOnTopTimer.setEnabled(AlwaysOnTopTimer_TICKBOX.ticked());

    const bool autostart = AUTOSTART_TICKBOX.ticked();
    AUTOSTART_START_BUTTON.setCaption(autostart ? text::kStop : text::kStart);
    AUTOSTART_START_BUTTON.setToolTip(autostart ? text::kAutostartStopTip : text::kAutostartStartTip);
    SETTINGS_BUTTON.setEnabled(!autostart);
    AUTOSTART_TIMER.setEnabled(autostart);
    if (autostart) {
        // Plain from the first moment: a run is coming, and how to stop it.
        AUTOSTART_TIMER_TEXTBOX.setBackground(colour::Yellow);
        AUTOSTART_TIMER_TEXTBOX.setForeground(colour::Black);
        CURRENT_STATUS_LABEL.setCaption(text::autostartIn(autostartCountdown));
    }

    const bool kitt = KITT_AUTOSTART_TICKBOX.ticked();
    HEARTBEAT_TIMER.setEnabled(kitt);
    KITT_RED_TIMER[1].setEnabled(kitt);
    KITT_START_BUTTON.setCaption(kitt ? text::kStop : text::kStart);

    if (settings_.startedOnDefaults())
        CURRENT_STATUS_LABEL.setCaption(text::kSettingsUnreadable);
    settings_.store().setNoticeReceiver([this](const QString& notice) { CURRENT_STATUS_LABEL.setCaption(notice); });
}

MainWindowModel::~MainWindowModel() { settings_.store().setNoticeReceiver(nullptr); }

void MainWindowModel::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    if (onUnloading)
        onUnloading();
    const SettingsBatch batch(settings_.store());
    settings_.writePosition(keys::MAIN, geometry_.left, geometry_.top);
    storeSlotSwitches(settings_, TASK_ENABLE_TICKBOX, TASK_PAUSE_TICKBOX);
    settings_.writeText(keys::LAST_RUN, LAST_RUN_TEXTBOX.text());
    settings_.writeText(keys::LAST_RUN_TIME, lastRunTime_);
    if (onUnloaded)
        onUnloaded();
}

void MainWindowModel::close()
{
    if (closeRequested)
        closeRequested();
    else
        Form_Unload();
}

void MainWindowModel::SETTINGS_BUTTON_Click()
{
    if (opener_ != nullptr)
        opener_->showModal(WindowKind::MainSettings);
}

void MainWindowModel::MANAGE_TASKS_BUTTON_Click()
{
    if (opener_ != nullptr)
        opener_->showModal(WindowKind::ManageTasks);
}

void MainWindowModel::HISTORY_BUTTON_Click()
{
    if (opener_ != nullptr)
        opener_->showModal(WindowKind::History);
}

void MainWindowModel::AUTOCLOSE_TICKBOX_Click()
{
    if (AUTOCLOSE_TICKBOX.ticked()) {
        AUTOCLOSE_START_BUTTON.setEnabled(true);
    } else {
        AUTOCLOSE_TIMER.setEnabled(false);
        autocloseStartedByHand = false;
        AUTOCLOSE_START_BUTTON.setEnabled(false);
    }
}

void MainWindowModel::AlwaysOnTopTimer_TICKBOX_Click()
{
    AlwaysOnTopTimer.setEnabled(AlwaysOnTopTimer_TICKBOX.ticked());
}

void MainWindowModel::TASK_LIGHT_DblClick(int n)
{
    TASK_LIGHT[n].setBackground(colour::White);
    TASK_LIGHT[n].setToolTip(QString());
}

void MainWindowModel::showLastRun(const QString& text, Colour background, const QString& isoTime)
{
    LAST_RUN_TEXTBOX.setText(text);
    LAST_RUN_TEXTBOX.setBackground(background);
    LAST_RUN_TEXTBOX.setForeground(colour::Black);
    showLastRunTime(isoTime);
}

void MainWindowModel::colourLastRunForStartUp()
{
    const bool success = LAST_RUN_TEXTBOX.text() == text::kCompletedSuccessfully;
    LAST_RUN_TEXTBOX.setBackground(success ? colour::Green : colour::Red);
    LAST_RUN_TEXTBOX.setForeground(colour::Black);
}

void MainWindowModel::showLastRunTime(const QString& isoTime, const QString& note)
{
    lastRunTime_ = isoTime;
    QString tip = lastRunToolTip(LAST_RUN_TEXTBOX.text(), QDateTime::fromString(isoTime, Qt::ISODate));
    if (!note.isEmpty())
        tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + note;
    LAST_RUN_TEXTBOX.setToolTip(tip);
}

void MainWindowModel::setPosition(double left, double top)
{
    geometry_.left = left;
    geometry_.top = top;
}

void MainWindowModel::setTitle(const QString& title)
{
    title_ = title;
    if (windowChanged)
        windowChanged();
}

} // namespace zb
