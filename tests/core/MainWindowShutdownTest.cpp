#include "core/ControlTexts.h"
#include "core/SettingsKeys.h"
#include "tests/support/Harness.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

TEST(MainWindowShutdown, WritesExactlyPositionSwitchesAndLastRunInOrder)
{
    Harness h;
    h.seed(QStringLiteral("MAIN-Width"), QStringLiteral("7000"));
    MainWindowModel& m = h.start().main;
    m.setPosition(1500, 2250.5);
    m.TASK_ENABLE_TICKBOX[2].click();
    m.TASK_PAUSE_TICKBOX[20].click();
    m.TASK_CMD_TEXTBOX[2].edit(QStringLiteral("not saved at shut-down"));
    m.TASK_ENABLE_TICKBOX[2].setCaption(QStringLiteral("not saved either"));
    m.AUTOSTART_TICKBOX.click();
    m.LAST_RUN_TEXTBOX.setText(QStringLiteral("AUTOCLOSE - MANUAL STOP"));

    m.close();

    const auto& writes = h.store.writes();
    ASSERT_EQ(writes.size(), 2 + 20 + 20 + 1);
    EXPECT_EQ(h.store.commits(), QList<int>{43}) << "one commit for the whole shut-down";
    EXPECT_EQ(writes[0].key, QStringLiteral("MAIN-Left"));
    EXPECT_EQ(writes[0].value, QStringLiteral("1500"));
    EXPECT_EQ(writes[1].key, QStringLiteral("MAIN-Top"));
    EXPECT_EQ(writes[1].value, QStringLiteral("2250.5"));
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ(writes[1 + n].key, QStringLiteral("TASK_%1_ENABLE_TICKBOX").arg(n));
        EXPECT_EQ(writes[1 + n].value, n == 2 ? QStringLiteral("1") : QStringLiteral("0"));
        EXPECT_EQ(writes[21 + n].key, QStringLiteral("TASK_%1_PAUSE_TICKBOX").arg(n));
        EXPECT_EQ(writes[21 + n].value, n == 20 ? QStringLiteral("1") : QStringLiteral("0"));
    }
    EXPECT_EQ(writes[42].key, QStringLiteral("LAST_RUN"));
    EXPECT_EQ(writes[42].value, QStringLiteral("AUTOCLOSE - MANUAL STOP"));
    for (const auto& w : writes)
        EXPECT_EQ(w.section, QStringLiteral("zb-sequenta"));
    EXPECT_EQ(h.stored(QStringLiteral("MAIN-Width")), QStringLiteral("7000")) << "size is never written";
}

TEST(MainWindowShutdown, RunsOnceAndLeavesTimersAlone)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    m.MAIN_START_STOP_BUTTON.click();
    m.close();
    m.Form_Unload();
    EXPECT_EQ(h.store.writes().size(), 43);
    EXPECT_TRUE(m.TASK_MAIN_TIMER[1].enabled());
    EXPECT_TRUE(m.unloaded());
}

TEST(MainWindowShutdown, SwitchesSurviveARestart)
{
    Harness first;
    MainWindowModel& m = first.start().main;
    m.TASK_ENABLE_TICKBOX[7].click();
    m.TASK_PAUSE_TICKBOX[7].click();
    m.setPosition(3000, 4000);
    m.close();

    Harness second;
    second.store = first.store;
    MainWindowModel& again = second.start().main;
    EXPECT_EQ(again.TASK_ENABLE_TICKBOX[7].value(), 1);
    EXPECT_EQ(again.TASK_PAUSE_TICKBOX[7].value(), 1);
    EXPECT_EQ(again.geometry().left, 3000);
    EXPECT_EQ(again.geometry().top, 4000);
}

TEST(MainWindow, LightDoubleClickTurnsWhiteAndTouchesNothingElse)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    m.TASK_LIGHT[4].setBackground(colour::Cyan);
    m.TASK_LIGHT[4].doubleClick();
    EXPECT_EQ(m.TASK_LIGHT[4].background(), colour::White);
    m.TASK_LIGHT[4].doubleClick();
    EXPECT_EQ(m.TASK_LIGHT[4].background(), colour::White);
    EXPECT_TRUE(h.store.writes().isEmpty());
}

TEST(MainWindow, AutocloseTickBoxDrivesItsButtonAndTimer)
{
    Harness h;
    MainWindowModel& m = h.start().main;
    m.AUTOCLOSE_TICKBOX.click();
    EXPECT_TRUE(m.AUTOCLOSE_START_BUTTON.enabled());
    m.AUTOCLOSE_TIMER.setEnabled(true);
    m.AUTOCLOSE_TICKBOX.click();
    EXPECT_FALSE(m.AUTOCLOSE_START_BUTTON.enabled());
    EXPECT_FALSE(m.AUTOCLOSE_TIMER.enabled());
}

// Text typed into a slot's fields on the main window is used until the
// program ends and not saved: the field and the status line say so, and
// the mark goes when the text is what the file holds again.
TEST(MainWindowShutdown, TypedCommandsAreMarkedAsForThisRunOnlyUntilTheFileHoldsThem)
{
    Harness h;
    h.seed(QStringLiteral("TASK_3_CMD"), QStringLiteral("/bin/three"));
    MainWindowModel& m = h.start().main;
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[3].toolTip(), QString()) << "start-up sets what the file holds";

    m.TASK_CMD_TEXTBOX[3].edit(QStringLiteral("/bin/three --now"));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[3].toolTip(), text::kTypedHere);
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("TASK 3 CHANGED HERE FOR THIS RUN ONLY - NOT SAVED"));
    m.TASK_PROCESS_NAME_TEXTBOX[3].edit(QStringLiteral("rsync"));
    EXPECT_TRUE(m.TASK_PROCESS_NAME_TEXTBOX[3].toolTip().startsWith(text::kTypedHere));
    EXPECT_TRUE(m.TASK_PROCESS_NAME_TEXTBOX[3].toolTip().endsWith(text::kProcessToolTip));

    m.TASK_CMD_TEXTBOX[3].edit(QStringLiteral("/bin/three"));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[3].toolTip(), QString()) << "typed back";
    // An editor saves: the file first, then the field.
    h.program->settings.writeText(keys::taskProcessName(3), QStringLiteral("rsync"));
    m.TASK_PROCESS_NAME_TEXTBOX[3].setText(QStringLiteral("x"));
    m.TASK_PROCESS_NAME_TEXTBOX[3].setText(QStringLiteral("rsync"));
    EXPECT_EQ(m.TASK_PROCESS_NAME_TEXTBOX[3].toolTip(), text::kProcessToolTip);

    m.TASK_CMD_TEXTBOX[3].edit(QString::fromUtf8("with a NUL\0", 11));
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[3].text(), QStringLiteral("/bin/three")) << "a NUL is refused where typed";
}

} // namespace
} // namespace zb
