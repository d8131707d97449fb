#include "MainWindowView.h"

#include "EditorStyle.h"
#include "ElidingCheckBox.h"
#include "FocusRing.h"
#include "KeyboardAction.h"
#include "Mnemonic.h"
#include "SlotGridKeys.h"
#include "TaskLight.h"
#include "TaskList.h"
#include "WindowPlacement.h"
#include "core/ControlTexts.h"
#include "core/MainWindowModel.h"
#include "core/SettingsKeys.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <vector>

namespace zb {

namespace {

using style::bold;

// A centred, bold field as wide as `sample` in its font: a light or a clock,
// named for a screen reader.
QLineEdit* lightEdit(const QString& sample, const QString& spoken)
{
    auto* e = new QLineEdit;
    e->setAccessibleName(spoken);
    e->setAlignment(Qt::AlignCenter);
    e->setFont(bold());
    style::fitWidth(e, sample);
    return e;
}

// Bold, `factor` times the system font: larger fonts follow the user's.
QFont boldTimes(double factor)
{
    QFont f = bold();
    if (f.pointSizeF() > 0)
        f.setPointSizeF(f.pointSizeF() * factor);
    else // a system font given in pixels
        f.setPixelSize(qRound(f.pixelSize() * factor));
    return f;
}

// The header's and START's sizes beside the usual 9 pt.
constexpr double kTitleFactor = 14.0 / 9;
constexpr double kStartFactor = 12.0 / 9;

// A field that asks for room for `chars` characters when there is some.
class RoomyField : public QLineEdit {
public:
    explicit RoomyField(int chars) : chars_(chars) {}
    QSize sizeHint() const override
    {
        QSize s = QLineEdit::sizeHint();
        s.setWidth(qMax(s.width(), style::charsWide(this, chars_)));
        return s;
    }

private:
    int chars_;
};

const QString kClockSample = QStringLiteral("00:00:00");
const QString kCountdownSample = QStringLiteral("00");
const QString kLockSample = QStringLiteral("W");
// What a slot's fields ask room for: most commands and process names whole.
constexpr int kCommandChars = 60;
constexpr int kProcessChars = 16;
// What a window manager's title bar and borders may take around the window,
// not known before it is first framed.
const QSize kFrameAllowance(16, 72);

} // namespace

MainWindowView::MainWindowView(MainWindowModel& model) : model_(model)
{
    setObjectName(QStringLiteral("ZB_SEQUENTA_MAIN"));
    FocusRing::install();
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->setSpacing(6);
    root->addWidget(buildHeader());
    root->addWidget(buildControls());
    root->addWidget(buildDesk());
    root->addWidget(buildSlots(), 1);

    // Hidden copies of the e-mail settings that other windows read.
    for (TextField* hidden : {&model_.EMAIL_OUTPUT_START_COMMAND_TEXTBOX, &model_.EMAIL_OUTPUT_END_COMMAND_TEXTBOX,
                              &model_.SE_HOME_TEXTBOX})
        bindings_.bind(*hidden, new QLineEdit(this));

    model_.windowChanged = [this] {
        setWindowTitle(model_.title());
        if (isVisible())
            applyGeometry();
        else
            placePending_ = true;
    };
    model_.closeRequested = [this] { close(); };
    // Alt keys for the buttons. START and STOP share only S and T, so two of
    // the four START buttons take a letter of each caption: every caption
    // shows its key, and no two keys clash in either state.
    const struct {
        const Button& button;
        const char* keys;
    } keys[] = {{model_.HISTORY_BUTTON, "H"},         {model_.MAIN_START_STOP_BUTTON, "S"},
                {model_.AUTOSTART_START_BUTTON, "T"}, {model_.AUTOCLOSE_START_BUTTON, "RP"},
                {model_.KITT_START_BUTTON, "AO"},     {model_.SETTINGS_BUTTON, "E"},
                {model_.MANAGE_TASKS_BUTTON, "K"}};
    for (const auto& k : keys)
        giveMnemonic(findChild<QPushButton*>(k.button.objectName()), QString::fromLatin1(k.keys));
    setWindowTitle(model_.title());
    // START is the default button: it has the focus when the window opens.
    findChild<QPushButton*>(model_.MAIN_START_STOP_BUTTON.objectName())->setFocus();
}

MainWindowView::~MainWindowView()
{
    model_.windowChanged = nullptr;
    model_.closeRequested = nullptr;
}

void MainWindowView::setVisible(bool visible)
{
    if (visible && placePending_) {
        placePending_ = false;
        applyGeometry();
    }
    QWidget::setVisible(visible);
}

void MainWindowView::applyGeometry()
{
    placePending_ = false;
    const keys::GeometryKeys& d = keys::MAIN;
    WindowGeometry wanted = model_.geometry();
    // Unless a size is stored, the window opens with room for its columns
    // and rows, as far as the screen has room right of and below where it
    // opens: it grows, it never moves for it.
    if (wanted.width == d.width && wanted.height == d.height) {
        const int dpi = logicalDpiX();
        QSize room = sizeHint().expandedTo(minimumSizeHint());
        if (const QScreen* s = screen()) {
            const QRect area = s->availableGeometry();
            const QPoint at(WindowPlacement::toPixels(wanted.left, dpi), WindowPlacement::toPixels(wanted.top, dpi));
            const QSize free =
                area.contains(at) ? QSize(area.right() + 1 - at.x(), area.bottom() + 1 - at.y()) : area.size();
            room = room.boundedTo(free - kFrameAllowance);
        }
        wanted.width = qMax(d.width, WindowPlacement::toTwips(room.width(), dpi));
        wanted.height = qMax(d.height, WindowPlacement::toTwips(room.height(), dpi));
    }
    placement_.apply(this, wanted, {d.left, d.top, d.width, d.height});
}

bool MainWindowView::focusNextPrevChild(bool next)
{
    return slotKeys_->tab(focusWidget(), next) || QWidget::focusNextPrevChild(next);
}

void MainWindowView::closeEvent(QCloseEvent* event)
{
    double left = model_.geometry().left;
    double top = model_.geometry().top;
    placement_.position(left, top);
    model_.setPosition(left, top);
    model_.Form_Unload();
    event->accept();
}

void MainWindowView::keyPressEvent(QKeyEvent* event)
{
    // Enter presses the focused push button, else START, the default button.
    // Fields and tick boxes leave Enter to the window.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    // Esc is the way out anyone reaches for: it cancels a countdown to a run.
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier && model_.AUTOSTART_TIMER.enabled()) {
        model_.AUTOSTART_START_BUTTON.click();
        return;
    }
    if (!enter || modifiers != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget()); focused != nullptr && focused->isEnabled())
        focused->click();
    else if (model_.MAIN_START_STOP_BUTTON.enabled())
        model_.MAIN_START_STOP_BUTTON.click();
}

void MainWindowView::contextMenuEvent(QContextMenuEvent* event)
{
    // The lock keys from the keyboard: the Menu key on any control without a
    // menu of its own.
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("MAIN_WINDOW_MENU"));
    const struct {
        const char* label;
        TextField& light;
    } keys[] = {{"Press Num Lock", model_.VERT_NUM_LIGHT_LABEL},
                {"Press Caps Lock", model_.VERT_CAPS_LIGHT_LABEL},
                {"Press Scroll Lock", model_.VERT_SCROLL_LIGHT_LABEL}};
    for (const auto& key : keys) {
        TextField* light = &key.light;
        menu.addAction(QString::fromLatin1(key.label), [light] { light->doubleClick(); });
    }
    menu.exec(event->globalPos());
}

QWidget* MainWindowView::buildHeader()
{
    auto* box = new QFrame;
    box->setAutoFillBackground(true);
    QPalette p = box->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, QColor(0, 220, 0));
    box->setPalette(p);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(8, 4, 8, 4);
    auto* zb = bindings_.bind(model_.ZB_TITLE, new QLabel);
    zb->setFont(boldTimes(kTitleFactor));
    auto* title = bindings_.bind(model_.SEQUENTA_TITLE_LABEL, new QLabel);
    title->setFont(boldTimes(kTitleFactor));
    row->addWidget(zb);
    row->addWidget(title);
    row->addStretch(1);
    row->addWidget(bindings_.bind(model_.HISTORY_BUTTON, new QPushButton));
    row->addWidget(bindings_.bind(model_.Label6, new QLabel));
    row->addWidget(bindings_.bind(model_.APP_EXE_NAME_LABEL, new QLabel));
    return box;
}

QWidget* MainWindowView::buildControls()
{
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* start = bindings_.bind(model_.MAIN_START_STOP_BUTTON, new QPushButton);
    start->setFont(boldTimes(kStartFactor));
    start->setMinimumWidth(style::charsWide(start, 10));
    start->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    grid->addWidget(start, 0, 0, 2, 1);

    auto* statusRow = new QHBoxLayout;
    statusRow->addWidget(bindings_.bind(model_.Label5, new QLabel));
    auto* status = bindings_.bind(model_.CURRENT_STATUS_LABEL, new QLabel);
    status->setFont(bold());
    status->setMinimumWidth(style::charsWide(status, 24));
    statusRow->addWidget(status, 1);
    statusRow->addWidget(bindings_.bind(model_.RUNTIME_TEXTBOX, lightEdit(kClockSample, text::kSpokenRunTime)));
    grid->addLayout(statusRow, 0, 1, 1, 6);

    auto* lastRunRow = new QHBoxLayout;
    auto* lastRunLabel = bindings_.bind(model_.LAST_RUN_LABEL, new QLabel);
    lastRunRow->addWidget(lastRunLabel);
    auto* lastRun = bindings_.bind(model_.LAST_RUN_TEXTBOX, new QLineEdit);
    lastRunLabel->setBuddy(lastRun);
    lastRunRow->addWidget(lastRun, 1);
    grid->addLayout(lastRunRow, 1, 1, 1, 6);

    grid->addWidget(bindings_.bind(model_.AUTOSTART_TICKBOX, new QCheckBox), 2, 0);
    grid->addWidget(bindings_.bind(model_.AUTOSTART_START_BUTTON, new QPushButton), 2, 1);
    grid->addWidget(
        bindings_.bind(model_.AUTOSTART_TIMER_TEXTBOX, lightEdit(kCountdownSample, text::kSpokenAutostartCountdown)), 2,
        2);
    grid->addWidget(bindings_.bind(model_.START_EMAIL_TICKBOX, new QCheckBox), 2, 3);
    grid->addWidget(bindings_.bind(model_.AlwaysOnTopTimer_TICKBOX, new QCheckBox), 2, 4);
    grid->addWidget(bindings_.bind(model_.SETTINGS_BUTTON, new QPushButton), 2, 5);

    grid->addWidget(bindings_.bind(model_.AUTOCLOSE_TICKBOX, new QCheckBox), 3, 0);
    grid->addWidget(bindings_.bind(model_.AUTOCLOSE_START_BUTTON, new QPushButton), 3, 1);
    grid->addWidget(
        bindings_.bind(model_.AUTOCLOSE_TIMER_TEXTBOX, lightEdit(kCountdownSample, text::kSpokenAutocloseCountdown)), 3,
        2);
    grid->addWidget(bindings_.bind(model_.END_EMAIL_TICKBOX, new QCheckBox), 3, 3);
    grid->addWidget(bindings_.bind(model_.KITT_AUTOSTART_TICKBOX, new QCheckBox), 3, 4);
    grid->addWidget(bindings_.bind(model_.MANAGE_TASKS_BUTTON, new QPushButton), 3, 5);
    grid->setColumnStretch(6, 1);
    return box;
}

QWidget* MainWindowView::buildDesk()
{
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(bindings_.bind(model_.KITT_START_BUTTON, new QPushButton));

    // The scanner lights sit on their background strip.
    // The scanner lights sit on their background strip, sized by the font
    // like everything beside them.
    auto* strip = bindings_.bind(model_.KITT_BACKGROUND_LABEL, new QLabel);
    const int lightHeight = strip->fontMetrics().height() * 2 / 3;
    auto* lights = new QHBoxLayout(strip);
    lights->setContentsMargins(4, 3, 4, 3);
    lights->setSpacing(3);
    for (Label& l : model_.KITT_LABEL) {
        auto* light = bindings_.bind(l, new QLabel);
        light->setFixedSize(lightHeight * 2, lightHeight);
        lights->addWidget(light);
    }
    strip->setFixedSize(lights->sizeHint());
    row->addWidget(strip);
    row->addStretch(1);
    row->addWidget(
        bindings_.bind(model_.HEARTBEAT_COUNTDOWN_TEXTBOX, lightEdit(kClockSample, text::kSpokenHeartbeatCountdown)));
    const struct {
        TextField& light;
        const char* action;
        const QString& spoken;
    } locks[] = {{model_.VERT_NUM_LIGHT_LABEL, "Press Num Lock", text::kSpokenNumLock},
                 {model_.VERT_CAPS_LIGHT_LABEL, "Press Caps Lock", text::kSpokenCapsLock},
                 {model_.VERT_SCROLL_LIGHT_LABEL, "Press Scroll Lock", text::kSpokenScrollLock}};
    for (const auto& lock : locks) {
        TextField* light = &lock.light;
        auto* edit = bindings_.bind(*light, lightEdit(kLockSample, lock.spoken));
        offerAction(edit, QString::fromLatin1(lock.action), [light] { light->doubleClick(); });
        row->addWidget(edit);
    }
    return box;
}

QWidget* MainWindowView::buildSlots()
{
    auto* inner = new QWidget;
    auto* grid = new QGridLayout(inner);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(3);
    grid->addWidget(bindings_.bind(model_.Label2, new QLabel), 0, 3);
    grid->addWidget(bindings_.bind(model_.Label3, new QLabel), 0, 4);
    std::vector<std::pair<QWidget*, QList<QWidget*>>> rows;
    for (int n = 1; n <= kSlotCount; ++n) {
        const QString resetLight = QStringLiteral("Reset Light %1").arg(n);
        auto reset = [this, n] { model_.TASK_LIGHT_DblClick(n); };
        auto* light = new TaskLightEdit(n, model_.TASK_LIGHT[n]);
        bindings_.bind(model_.TASK_LIGHT[n], light, [light] { light->follow(); });
        offerAction(light, resetLight, reset);
        grid->addWidget(light, n, 0);
        auto* enable = bindings_.bind(model_.TASK_ENABLE_TICKBOX[n], new ElidingCheckBox);
        enable->setFont(bold());
        // The caption is the task's own name, which two slots may share.
        enable->setAccessibleName(text::slotSpoken(n, text::kSpokenEnabled));
        // The row's light from the keyboard: the Menu key on its tick box.
        offerAction(enable, resetLight, reset, ActionKeys::MenuOnly);
        grid->addWidget(enable, n, 1);
        auto* pause = bindings_.bind(model_.TASK_PAUSE_TICKBOX[n], new QCheckBox);
        pause->setAccessibleName(text::slotSpoken(n, text::kSpokenPause));
        grid->addWidget(pause, n, 2);
        auto* cmd = bindings_.bind(model_.TASK_CMD_TEXTBOX[n], new RoomyField(kCommandChars));
        cmd->setAccessibleName(text::slotSpoken(n, text::kSpokenCommand));
        cmd->setMinimumWidth(style::charsWide(cmd, 20));
        grid->addWidget(cmd, n, 3);
        auto* process = bindings_.bind(model_.TASK_PROCESS_NAME_TEXTBOX[n], new RoomyField(kProcessChars));
        process->setAccessibleName(text::slotSpoken(n, text::kSpokenProcess));
        process->setMinimumWidth(style::charsWide(process, 12));
        grid->addWidget(process, n, 4);
        rows.push_back({light, {enable, pause, cmd, process}});
    }
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(3, 4);
    grid->setColumnStretch(4, 1);
    // Spare height goes below the last row, never between rows.
    grid->setRowStretch(kSlotCount + 1, 1);

    auto* list = new TaskList(inner, rows.front().second.back()->sizeHint().height() + grid->verticalSpacing());
    slotKeys_ = new SlotGridKeys(list, this);
    for (const auto& [light, cells] : rows)
        slotKeys_->addRow(light, cells);
    return list;
}

} // namespace zb
