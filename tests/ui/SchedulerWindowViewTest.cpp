#include "ui/SchedulerWindowView.h"
#include "app/DialogWindowOpener.h"
#include "platform/fake/FakeCrontab.h"
#include "schedule/SchedulerWindowModel.h"
#include "tests/support/Harness.h"
#include "tests/ui/ViewTestSupport.h"
#include "ui/MainWindowView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace zb {
namespace {

using test::child;

// SCHEDULER in the main settings opens the window; a user makes a day
// choice, types a time and creates the task, all through the widgets.
TEST(SchedulerWindowView, OpensFromTheMainSettingsAndCreatesTheTaskThroughItsWidgets)
{
    test::Harness h;
    FakeCrontab crontab;
    h.processes.running[QStringLiteral("cron")] = -1;
    Program program(Services{h.clock, h.store, h.exe, h.launcher, h.processes, h.folders, h.fileDialog, h.files,
                             h.shell, &crontab});
    program.start();
    MainWindowView mainView(program.main);
    DialogWindowOpener opener(program, &mainView);

    QString seen;
    test::onNextModal([&](QWidget* settings) {
        test::onNextModal([&](QWidget* w) {
            seen = w->objectName() + QStringLiteral(" < ") + w->parentWidget()->objectName() + QStringLiteral(": ") +
                   w->windowTitle();
            auto* create = child<QPushButton>(*w, "CREATE_TASK_BUTTON");
            EXPECT_FALSE(create->isEnabled());
            test::clickTick(child<QCheckBox>(*w, "WED_TICKBOX"));
            EXPECT_TRUE(child<QCheckBox>(*w, "THU_TICKBOX")->isEnabled()) << "any set of days";
            EXPECT_FALSE(child<QCheckBox>(*w, "SELECT_ALL_DAYS_TICKBOX")->isEnabled());
            auto* time = child<QLineEdit>(*w, "TASK_RUN_TIME_TEXTBOX");
            time->selectAll();
            QTest::keyClicks(time, QStringLiteral("21:45"));
            QTest::mouseClick(create, Qt::LeftButton);
            EXPECT_TRUE(child<QLineEdit>(*w, "TASK_RUN_TIME_TEXTBOX")->isReadOnly());
            EXPECT_TRUE(child<QPlainTextEdit>(*w, "SCHEDULE_HEALTH_TEXTBOX")
                            ->toPlainText()
                            .startsWith(QStringLiteral("Next start: Wed ")));
            EXPECT_EQ(child<QLineEdit>(*w, "OUTPUT_COMMAND_TEXTBOX")->text(),
                      QStringLiteral("45 21 * * 3 ZB_SEQUENTA_SCHEDULED=1 DISPLAY=':0' '/opt/zb/zb-sequenta' "
                                     "# ZB-SEQUENTA - zb-sequenta"));
            QTest::mouseClick(child<QPushButton>(*w, "OK_BUTTON"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(*settings, "SCHEDULER_SETTINGS_BUTTON"), Qt::LeftButton);
        settings->close();
    });
    opener.showModal(WindowKind::MainSettings);

    EXPECT_EQ(seen, QStringLiteral("ZB_SEQUENTA_SCHEDULER_WINDOW < ZB_SEQUENTA_MAIN_SETTINGS_WINDOW: "
                                   "ZB-SEQUENTA - CRON \"SCHEDULED TASK\" MANAGER"));
    EXPECT_EQ(crontab.table, QByteArray("45 21 * * 3 ZB_SEQUENTA_SCHEDULED=1 DISPLAY=':0' '/opt/zb/zb-sequenta' "
                                        "# ZB-SEQUENTA - zb-sequenta\n"));
    EXPECT_EQ(h.stored(QStringLiteral("TASK_STATUS_TEXTBOX")), QStringLiteral("TASK-CREATED"));
    EXPECT_EQ(h.stored(QStringLiteral("WED_TICKBOX")), QStringLiteral("1"));
    EXPECT_EQ(h.stored(QStringLiteral("TASK_RUN_TIME_TEXTBOX")), QStringLiteral("21:45"));
    EXPECT_EQ(h.stored(QStringLiteral("WIN_SCHED_TASK-Left")), QStringLiteral("1000"));
}

// A wrong run time is said in red; a Create that then works says what the
// crontab holds instead, in the theme's colours. The reference text scrolls
// within the window rather than making it taller.
TEST(SchedulerWindowView, AValidCreateClearsTheErrorAndTheReferenceScrolls)
{
    test::Harness h;
    h.start();
    FakeCrontab crontab;
    h.processes.running[QStringLiteral("cron")] = -1;
    SchedulerWindowModel model(h.program->settings, crontab, h.processes, h.exe);
    model.Form_Load();
    SchedulerWindowView view(model, nullptr);
    view.show();
    QApplication::processEvents();

    auto* health = child<QPlainTextEdit>(view, "SCHEDULE_HEALTH_TEXTBOX");
    auto* time = child<QLineEdit>(view, "TASK_RUN_TIME_TEXTBOX");
    test::clickTick(child<QCheckBox>(view, "MON_TICKBOX"));
    time->selectAll();
    QTest::keyClicks(time, QStringLiteral("7.30"));
    QTest::mouseClick(child<QPushButton>(view, "CREATE_TASK_BUTTON"), Qt::LeftButton);
    EXPECT_EQ(health->toPlainText(), QStringLiteral("The run time must be HH:MM, from 00:00 to 23:59."));
    const QColor error = health->palette().color(QPalette::Text);
    EXPECT_GT(error.red(), 2 * error.green()) << "an error reads red";

    time->selectAll();
    QTest::keyClicks(time, QStringLiteral("07:30"));
    QTest::mouseClick(child<QPushButton>(view, "CREATE_TASK_BUTTON"), Qt::LeftButton);
    EXPECT_TRUE(health->toPlainText().startsWith(QStringLiteral("Next start: Mon ")))
        << health->toPlainText().toStdString();
    EXPECT_EQ(health->palette().color(QPalette::Text), QApplication::palette(health).color(QPalette::Text));

    auto* reference = child<QPlainTextEdit>(view, "Text11");
    EXPECT_GT(reference->verticalScrollBar()->maximum(), 0) << "the reference is longer than its room";
    EXPECT_TRUE(reference->focusPolicy() & Qt::TabFocus) << "it scrolls by keyboard too";
    EXPECT_FALSE(child<QWidget>(view, "SCHED_TOP_MESSAGE_TEXTBOX")->focusPolicy() & Qt::TabFocus);
    EXPECT_FALSE(health->focusPolicy() & Qt::TabFocus);
}

} // namespace
} // namespace zb
