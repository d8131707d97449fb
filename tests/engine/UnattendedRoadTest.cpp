// The whole unattended road on the simulated clock: start-up with autostart
// and autoclose ticked, three slots (one waiting for its process), the
// e-mail batch files, and the program closing by itself.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::Harness;
using test::StatusLog;

TEST(UnattendedRoad, RunsFromStartUpToClosingWithoutATouch)
{
    Harness h;
    for (const char* key :
         {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "START_EMAIL_TICKBOX", "END_EMAIL_TICKBOX", "TASK_1_ENABLE_TICKBOX",
          "TASK_2_ENABLE_TICKBOX", "TASK_2_PAUSE_TICKBOX", "TASK_3_ENABLE_TICKBOX"})
        h.seed(QLatin1String(key), QStringLiteral("1"));
    h.seed(QStringLiteral("TASK_1_CMD"), QStringLiteral("prepare"));
    h.seed(QStringLiteral("TASK_2_CMD"), QStringLiteral("convert --all"));
    h.seed(QStringLiteral("TASK_2_PROCESS_NAME_TEXTBOX"), QStringLiteral("convert"));
    h.seed(QStringLiteral("TASK_3_CMD"), QStringLiteral("publish"));
    h.files.present.insert(QStringLiteral("/opt/zb/BATS/zb-sequenta-START-EMAIL.sh"));
    h.files.present.insert(QStringLiteral("/opt/zb/BATS/zb-sequenta-END-EMAIL.sh"));
    h.launcher.onLaunch = [&](const QString& command) {
        if (command == QStringLiteral("convert --all"))
            h.processes.running[QStringLiteral("convert")] = 3;
    };
    h.start();
    MainWindowModel& m = h.main();
    StatusLog log(h);

    ASSERT_TRUE(h.clock.runUntil([&] { return m.unloaded(); }, 120'000));

    EXPECT_EQ(h.launcher.commands(),
              (QStringList{QStringLiteral("/bin/sh /opt/zb/BATS/zb-sequenta-START-EMAIL.sh"), QStringLiteral("prepare"),
                           QStringLiteral("convert --all"), QStringLiteral("publish"),
                           QStringLiteral("/bin/sh /opt/zb/BATS/zb-sequenta-END-EMAIL.sh ZB-SEQUENTA - zb-sequenta - "
                                          "COMPLETED /opt/zb/LOGS/zb-sequenta-END-EMAIL.txt")}));
    QStringList road = log.texts();
    road.removeDuplicates();
    road = road.mid(10); // the countdown's ten seconds
    EXPECT_EQ(
        road, (QStringList{
                  QStringLiteral("!!! AUTOSTARTING !!!"),
                  QStringLiteral("STARTING RUNTIME TIMER!!!"),
                  QStringLiteral("SENDING START EMAIL"),
                  QStringLiteral("RUNNING TASK 1"),
                  QStringLiteral("TASK 1 STARTED - STILL RUNNING"),
                  QStringLiteral("RUNNING TASK 2"),
                  QStringLiteral("P4P - TASK 2"),
                  QStringLiteral("RUNNING TASK 3"),
                  QStringLiteral("TASK 3 STARTED - STILL RUNNING"),
                  QStringLiteral("SKIPPING TASK 4"),
              }) + [] {
            QStringList rest;
            for (int n = 5; n <= 20; ++n)
                rest << QStringLiteral("SKIPPING TASK %1").arg(n);
            return rest << QStringLiteral("AUTOCLOSE COUNTDOWN STARTED") << QStringLiteral("SENDING END EMAIL")
                        << QStringLiteral("!!! AUTOCLOSING !!!");
        }());
    // 11 s autostart; slots 1 and 3 take 2 s, slot 2 takes 2 s and three
    // checks that find the process plus the one that does not; 17 skips;
    // the end-of-run step's first tick; 11 s autoclose.
    EXPECT_EQ(h.clock.now(), (11 + 2 + 2 + 4 + 2 + 17 + 11) * 1000);
    EXPECT_EQ(m.TASK_PAUSE_TICKBOX[2].background(), colour::Green);
    EXPECT_FALSE(m.RUNTIME_TIMER.enabled()) << "stopped at the chain's end";
    EXPECT_EQ(m.RUNTIME_TEXTBOX.text(), QStringLiteral("00:00:27"));
    EXPECT_EQ(h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("COMPLETED SUCCESSFULLY"));
    EXPECT_EQ(h.stored(QStringLiteral("TASK_2_PAUSE_TICKBOX")), QStringLiteral("1"));
}

} // namespace
} // namespace zb
