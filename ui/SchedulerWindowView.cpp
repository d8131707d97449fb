#include "SchedulerWindowView.h"

#include "EditorStyle.h"
#include "ElidingCheckBox.h"
#include "core/ControlTexts.h"
#include "schedule/SchedulerWindowModel.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zb {

namespace {

// A fixed, read-only text of several lines.
QPlainTextEdit* readOnlyText(const TextField& model)
{
    auto* text = new QPlainTextEdit(model.text());
    text->setObjectName(model.objectName());
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    return text;
}

// The height that shows `lines` lines of a text whole.
int heightForLines(const QPlainTextEdit* text, int lines)
{
    const QMargins frame = text->contentsMargins();
    // A laid-out line can take up to two pixels more than the font's spacing
    // (its ascent and descent are each rounded up).
    const int line = text->fontMetrics().lineSpacing() + 2;
    return line * lines + int(2 * text->document()->documentMargin()) + frame.top() + frame.bottom();
}

} // namespace

SchedulerWindowView::SchedulerWindowView(SchedulerWindowModel& model, QWidget* owner)
    : EditorDialog(model, owner),
      model_(model)
{
    auto* root = style::windowLayout(this, 8);
    root->addWidget(style::titleStrip(bindings_, {&model_.TITLE_LABEL, &model_.SCHEDULER_LABEL}));

    QVBoxLayout* body = scrollingBody(root);
    auto* notice = readOnlyText(model_.SCHED_TOP_MESSAGE_TEXTBOX);
    notice->setAccessibleName(text::kSpokenScheduleNotice);
    notice->setFont(style::bold());
    notice->setFixedHeight(heightForLines(notice, 3));
    notice->setFocusPolicy(Qt::ClickFocus); // nothing to scroll: no Tab stop
    notice->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    body->addWidget(notice);
    // The next start and how the last one went: two lines, wrapped.
    auto* health = bindings_.bind(model_.SCHEDULE_HEALTH_TEXTBOX, new QPlainTextEdit);
    health->setAccessibleName(text::kSpokenScheduleHealth);
    health->setFont(style::bold());
    health->setFixedHeight(heightForLines(health, 2));
    health->setFocusPolicy(Qt::ClickFocus); // read-only: no Tab stop
    body->addWidget(health);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(12);
    auto* left = new QVBoxLayout;
    left->addWidget(buildTask());
    left->addWidget(buildActions());
    middle->addLayout(left, 1);
    middle->addWidget(buildDays());
    body->addLayout(middle);

    auto* commandLabel = bindings_.bind(model_.OUTPUT_COMMAND_LABEL, new QLabel);
    body->addWidget(commandLabel);
    auto* command = bindings_.bind(model_.OUTPUT_COMMAND_TEXTBOX, new QLineEdit);
    commandLabel->setBuddy(command);
    body->addWidget(command);
    auto* referenceLabel = bindings_.bind(model_.COMMAND_LINE_OPTIONS_LABEL, new QLabel);
    body->addWidget(referenceLabel);
    // The reference scrolls: it takes the height the window has to spare,
    // never sets it. It keeps its Tab stop, for scrolling by keyboard.
    auto* reference = readOnlyText(model_.Text11);
    referenceLabel->setBuddy(reference);
    reference->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    reference->setMinimumHeight(heightForLines(reference, 6));
    reference->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Ignored);
    body->addWidget(reference, 1);

    // No Cancel: what the buttons above do to the schedule is done at once.
    root->addWidget(style::dialogButtons(bindings_.bind(model_.OK_BUTTON, new QPushButton)));
    applyGeometry();
}

QWidget* SchedulerWindowView::buildTask()
{
    auto* box = new QWidget;
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* nameLabel = bindings_.bind(model_.TASK_NAME_LABEL, new QLabel);
    grid->addWidget(nameLabel, 0, 0);
    auto* name = bindings_.bind(model_.TASK_NAME_TEXTBOX, new QLineEdit);
    nameLabel->setBuddy(name);
    name->setEnabled(false); // shaded: the copy's own name
    grid->addWidget(name, 0, 1);
    auto* timeLabel = bindings_.bind(model_.RUN_TIME_LABEL, new QLabel);
    grid->addWidget(timeLabel, 1, 0);
    auto* time = bindings_.bind(model_.TASK_RUN_TIME_TEXTBOX, new QLineEdit);
    timeLabel->setBuddy(time);
    time->setMaxLength(5);
    time->setPlaceholderText(QStringLiteral("HH:MM"));
    style::fitWidth(time, time->placeholderText());
    grid->addWidget(time, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);
    return box;
}

QWidget* SchedulerWindowView::buildDays()
{
    auto* box = new QGroupBox;
    auto* column = new QVBoxLayout(box);
    auto* heading = bindings_.bind(model_.SELECT_DAY_OPTION_LABEL, new QLabel);
    heading->setFont(style::bold());
    column->addWidget(heading);
    // Every Day and Monday to Friday share a line: the window's height is tight.
    auto* everyDay = new QHBoxLayout;
    everyDay->addWidget(bindings_.bind(model_.SELECT_ALL_DAYS_TICKBOX, new QCheckBox));
    everyDay->addWidget(bindings_.bind(model_.WORKING_DAYS_BUTTON, new QPushButton));
    everyDay->addStretch(1);
    column->addLayout(everyDay);
    for (TickBox* day : model_.dayTicks)
        column->addWidget(bindings_.bind(*day, new QCheckBox));
    return box;
}

QWidget* SchedulerWindowView::buildActions()
{
    auto* box = new QGroupBox;
    auto* grid = new QGridLayout(box);
    grid->addWidget(bindings_.bind(model_.CREATE_TASK_BUTTON, new QPushButton), 0, 0);
    grid->addWidget(bindings_.bind(model_.ENABLE_SCHED_TASK_TICKBOX, new QCheckBox), 0, 1);
    grid->addWidget(bindings_.bind(model_.DELETE_TASK_BUTTON, new QPushButton), 1, 0);
    grid->addWidget(bindings_.bind(model_.ENABLE_DELETE_BUTTON_TICKBOX, new QCheckBox), 1, 1);
    grid->addWidget(bindings_.bind(model_.ONLY_VIEW_COMMAND_TICKBOX, new QCheckBox), 2, 0, 1, 2);
    grid->addWidget(bindings_.bind(model_.CATCH_UP_TICKBOX, new ElidingCheckBox), 3, 0, 1, 2);
    return box;
}

} // namespace zb
