#include "tests/support/Harness.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;

TEST(MainWindowStartup, EmptyStoreGivesTheFirstStartState)
{
    Harness h;
    MainWindowModel& m = h.start().main;

    EXPECT_EQ(m.geometry(), (WindowGeometry{1000, 1000, 6225, 4575}));
    EXPECT_EQ(m.title(), QStringLiteral("ZB-SEQUENTA - zb-sequenta"));
    EXPECT_EQ(m.APP_EXE_NAME_LABEL.caption(), QStringLiteral("zb-sequenta"));
    EXPECT_EQ(m.LAST_RUN_TEXTBOX.text(), QString());
    EXPECT_EQ(m.LAST_RUN_TEXTBOX.background(), colour::Red);
    EXPECT_EQ(m.LAST_RUN_TEXTBOX.foreground(), colour::Black);

    EXPECT_EQ(m.AlwaysOnTopTimer_TICKBOX.value(), 1);
    EXPECT_TRUE(m.AlwaysOnTopTimer.enabled());
    for (TickBox* t : {&m.AUTOSTART_TICKBOX, &m.AUTOCLOSE_TICKBOX, &m.KITT_AUTOSTART_TICKBOX, &m.START_EMAIL_TICKBOX,
                       &m.END_EMAIL_TICKBOX})
        EXPECT_EQ(t->value(), 0) << t->objectName().toStdString();

    for (int n = 1; n <= kSlotCount; ++n) {
        EXPECT_EQ(m.TASK_ENABLE_TICKBOX[n].caption(), QStringLiteral("TASK %1").arg(n));
        EXPECT_EQ(m.TASK_ENABLE_TICKBOX[n].value(), 0);
        EXPECT_EQ(m.TASK_PAUSE_TICKBOX[n].value(), 0);
        EXPECT_EQ(m.TASK_CMD_TEXTBOX[n].text(), QString());
        EXPECT_EQ(m.TASK_PROCESS_NAME_TEXTBOX[n].text(), QString());
        // Start-up leaves the lights alone.
        EXPECT_EQ(m.TASK_LIGHT[n].text(), QString::number(n));
        EXPECT_EQ(m.TASK_LIGHT[n].background(), colour::White);
        EXPECT_EQ(m.TASK_MAIN_TIMER[n].interval(), 1000);
        EXPECT_FALSE(m.TASK_MAIN_TIMER[n].enabled());
        EXPECT_EQ(m.TASK_WATCHER_TIMER[n].interval(), 1000);
    }

    EXPECT_EQ(m.AUTOSTART_START_BUTTON.caption(), QStringLiteral("START"));
    EXPECT_TRUE(m.SETTINGS_BUTTON.enabled());
    EXPECT_FALSE(m.AUTOSTART_TIMER.enabled());
    EXPECT_FALSE(m.AUTOCLOSE_START_BUTTON.enabled());
    EXPECT_FALSE(m.AUTOCLOSE_TIMER.enabled());
    EXPECT_FALSE(m.HEARTBEAT_TIMER.enabled());
    EXPECT_FALSE(m.KITT_RED_TIMER[1].enabled());
    EXPECT_EQ(m.KITT_START_BUTTON.caption(), QStringLiteral("START"));
    EXPECT_TRUE(m.NCS_TIMER.enabled());
    EXPECT_EQ(m.NCS_TIMER.interval(), 100);
    EXPECT_EQ(m.KITT_RED_TIMER[16].interval(), 100);
    EXPECT_EQ(m.NUMLOCK_TIMER_2.interval(), 750);
    for (const Label& l : m.KITT_LABEL)
        EXPECT_EQ(l.background(), colour::Red);

    // Texts start-up does not touch.
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("Status"));
    EXPECT_EQ(m.AUTOSTART_TIMER_TEXTBOX.text(), QStringLiteral("00"));
    EXPECT_EQ(m.AUTOCLOSE_TIMER_TEXTBOX.text(), QStringLiteral("00"));
    EXPECT_EQ(m.RUNTIME_TEXTBOX.text(), QStringLiteral("00:00:00"));
    EXPECT_EQ(m.autostartCountdown, 11);
    EXPECT_EQ(m.autocloseCountdown, 11);
    EXPECT_EQ(m.heartbeatCountdown, 301);
    EXPECT_EQ(m.runtimeSeconds, 0);
    EXPECT_TRUE(h.store.writes().isEmpty()) << "start-up writes nothing";
}

TEST(MainWindowStartup, SeededStoreFillsEveryControlAndRunsTheTickCascades)
{
    Harness h;
    h.seed(QStringLiteral("MAIN-Left"), QStringLiteral("2880"));
    h.seed(QStringLiteral("MAIN-Top"), QStringLiteral("1440.5"));
    h.seed(QStringLiteral("MAIN-Width"), QStringLiteral("9000"));
    h.seed(QStringLiteral("LAST_RUN"), QStringLiteral("COMPLETED SUCCESSFULLY"));
    for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "KITT_AUTOSTART_TICKBOX", "START_EMAIL_TICKBOX",
                            "END_EMAIL_TICKBOX"})
        h.seed(QLatin1String(key), QStringLiteral("1"));
    h.seed(QStringLiteral("AlwaysOnTopTimer_TICKBOX"), QStringLiteral("0"));
    h.seed(QStringLiteral("TASK_3_ENABLE_TICKBOX"), QStringLiteral("1"));
    h.seed(QStringLiteral("TASK_4_PAUSE_TICKBOX"), QStringLiteral("1"));
    h.seed(QStringLiteral("TASK_5_TICKBOX_CAPTION"), QStringLiteral("Backup, \"nightly\" = yes"));
    h.seed(QStringLiteral("TASK_6_TICKBOX_CAPTION"), QString());
    h.seed(QStringLiteral("TASK_5_CMD"), QStringLiteral("  /usr/bin/rsync -a \"/a b\" /c"));
    h.seed(QStringLiteral("TASK_5_PROCESS_NAME_TEXTBOX"), QStringLiteral("rsync"));

    MainWindowModel& m = h.start().main;
    EXPECT_EQ(m.geometry(), (WindowGeometry{2880, 1440.5, 9000, 4575}));
    EXPECT_EQ(m.LAST_RUN_TEXTBOX.background(), colour::Green);
    EXPECT_EQ(m.AlwaysOnTopTimer_TICKBOX.value(), 0);
    EXPECT_FALSE(m.AlwaysOnTopTimer.enabled());

    // A restored ticked autoclose enables its button through the cascade.
    EXPECT_TRUE(m.AUTOCLOSE_START_BUTTON.enabled());
    EXPECT_FALSE(m.AUTOCLOSE_TIMER.enabled());
    // Autostart armed: the countdown runs, the field still shows its design text.
    EXPECT_TRUE(m.AUTOSTART_TIMER.enabled());
    EXPECT_EQ(m.AUTOSTART_START_BUTTON.caption(), QStringLiteral("STOP"));
    EXPECT_FALSE(m.SETTINGS_BUTTON.enabled());
    EXPECT_EQ(m.AUTOSTART_TIMER_TEXTBOX.text(), QStringLiteral("00"));
    EXPECT_TRUE(m.HEARTBEAT_TIMER.enabled());
    EXPECT_TRUE(m.KITT_RED_TIMER[1].enabled());
    EXPECT_FALSE(m.KITT_RED_TIMER[2].enabled());
    EXPECT_EQ(m.KITT_START_BUTTON.caption(), QStringLiteral("STOP"));

    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[3].value(), 1);
    EXPECT_EQ(m.TASK_PAUSE_TICKBOX[4].value(), 1);
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[5].caption(), QStringLiteral("Backup, \"nightly\" = yes"));
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[6].caption(), QString()) << "an empty stored caption is not the default";
    EXPECT_EQ(m.TASK_CMD_TEXTBOX[5].text(), QStringLiteral("  /usr/bin/rsync -a \"/a b\" /c"));
    EXPECT_EQ(m.TASK_PROCESS_NAME_TEXTBOX[5].text(), QStringLiteral("rsync"));
}

TEST(MainWindowStartup, LastRunColours)
{
    const struct {
        const char* stored;
        Colour expected;
    } cases[] = {
        {"COMPLETED SUCCESSFULLY", colour::Green},
        {"AUTOSTART - MANUAL STOP", colour::Red},
        {"completed successfully", colour::Red},
        {"COMPLETED SUCCESSFULLY ", colour::Red},
        {"", colour::Red},
    };
    for (const auto& c : cases) {
        Harness h;
        h.seed(QStringLiteral("LAST_RUN"), QString::fromUtf8(c.stored));
        EXPECT_EQ(h.start().main.LAST_RUN_TEXTBOX.background(), c.expected) << c.stored;
    }
}

TEST(MainWindowStartup, InvalidStoredNumbersReadAsTheirDefaults)
{
    Harness h;
    h.seed(QStringLiteral("MAIN-Left"), QStringLiteral("left"));
    h.seed(QStringLiteral("MAIN-Top"), QStringLiteral("nan"));
    h.seed(QStringLiteral("MAIN-Height"), QStringLiteral(""));
    h.seed(QStringLiteral("AlwaysOnTopTimer_TICKBOX"), QStringLiteral("yes"));
    h.seed(QStringLiteral("AUTOSTART_TICKBOX"), QStringLiteral("2"));
    h.seed(QStringLiteral("TASK_1_ENABLE_TICKBOX"), QStringLiteral(" 1 "));
    MainWindowModel& m = h.start().main;
    EXPECT_EQ(m.geometry(), (WindowGeometry{1000, 1000, 6225, 4575}));
    EXPECT_EQ(m.AlwaysOnTopTimer_TICKBOX.value(), 1);
    EXPECT_EQ(m.AUTOSTART_TICKBOX.value(), 0);
    EXPECT_EQ(m.TASK_ENABLE_TICKBOX[1].value(), 1) << "blanks around a number are read past";
}

TEST(MainWindowStartup, EachExecutableNameKeepsItsOwnSection)
{
    Harness h;
    h.store.seed(QStringLiteral("nightly"), QStringLiteral("TASK_1_CMD"), QStringLiteral("backup"));
    h.exe.baseName_ = QStringLiteral("nightly");
    EXPECT_EQ(h.start().main.TASK_CMD_TEXTBOX[1].text(), QStringLiteral("backup"));
    EXPECT_EQ(h.main().title(), QStringLiteral("ZB-SEQUENTA - nightly"));

    Harness other;
    other.store.seed(QStringLiteral("nightly"), QStringLiteral("TASK_1_CMD"), QStringLiteral("backup"));
    EXPECT_EQ(other.start().main.TASK_CMD_TEXTBOX[1].text(), QString());
}

TEST(MainWindowStartup, UnreadableSettingsAreReportedInTheStatusLine)
{
    Harness h;
    h.store.setStartedOnDefaults(true);
    EXPECT_EQ(h.start().main.CURRENT_STATUS_LABEL.caption(),
              QStringLiteral("SETTINGS FILE UNREADABLE - STARTED ON DEFAULTS"));
}

TEST(MainWindowStartup, WhatTheStoreSaysAboutItsFileReachesTheStatusLine)
{
    Harness h;
    h.store.notice(QStringLiteral("SETTINGS FILE LINE 12 NOT UNDERSTOOD - KEPT AS IS"));
    MainWindowModel& m = h.start().main;
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(), QStringLiteral("SETTINGS FILE LINE 12 NOT UNDERSTOOD - KEPT AS IS"));
    h.store.notice(QStringLiteral("SETTINGS FILE NOT WRITTEN - /x.ini: Read-only file system"));
    EXPECT_EQ(m.CURRENT_STATUS_LABEL.caption(),
              QStringLiteral("SETTINGS FILE NOT WRITTEN - /x.ini: Read-only file system"));
}

} // namespace
} // namespace zb
