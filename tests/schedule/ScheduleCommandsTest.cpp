// The scheduler's texts: the Windows command lines byte for byte, the
// crontab line, and the edits that must leave every other line alone.
#include "schedule/CronEntry.h"
#include "schedule/CrontabEdit.h"
#include "schedule/WindowsCommands.h"

#include <gtest/gtest.h>

namespace zb::schedule {
namespace {

TEST(WindowsCommands, TheFourLinesAreExact)
{
    const QString name = taskName(QStringLiteral("NIGHTLY"));
    const QString program = windowsTaskProgram(QStringLiteral("C:\\Tools\\ZB"), QStringLiteral("NIGHTLY"));
    DayChoice monday;
    monday.days[0] = true;
    EXPECT_EQ(schTasksCreate(dayList(monday), name, program, QStringLiteral("07:30")).toStdString(),
              "SchTasks /Create /SC WEEKLY /D MON /TN \"ZB-SEQUENTA - NIGHTLY\" /TR \"C:\\Tools\\ZB\\NIGHTLY.exe\" "
              "/ST 07:30");
    EXPECT_EQ(schTasksCreate(dayList({true, {}}), name, program, QStringLiteral("23:05")).toStdString(),
              "SchTasks /Create /SC WEEKLY /D MON,TUE,WED,THU,FRI,SAT,SUN /TN \"ZB-SEQUENTA - NIGHTLY\" "
              "/TR \"C:\\Tools\\ZB\\NIGHTLY.exe\" /ST 23:05");
    // An empty day list leaves "/TN" straight after "/D ".
    EXPECT_EQ(schTasksCreate(dayList({}), name, program, QStringLiteral("00:00")).left(35).toStdString(),
              "SchTasks /Create /SC WEEKLY /D /TN ");
    EXPECT_EQ(schTasksDelete(name).toStdString(), "SchTasks /Delete /TN \"ZB-SEQUENTA - NIGHTLY\" /F");
    EXPECT_EQ(schTasksEnable(name).toStdString(), "SchTasks /Change /TN \"ZB-SEQUENTA - NIGHTLY\" /ENABLE");
    EXPECT_EQ(schTasksDisable(name).toStdString(), "SchTasks /Change /TN \"ZB-SEQUENTA - NIGHTLY\" /DISABLE");
}

TEST(WindowsCommands, EachWeekdayHasItsCodeAndBlank)
{
    const char* codes[] = {"MON ", "TUE ", "WED ", "THU ", "FRI ", "SAT ", "SUN "};
    for (int d = 0; d < 7; ++d) {
        DayChoice c;
        c.days[std::size_t(d)] = true;
        EXPECT_EQ(dayList(c).toStdString(), codes[d]);
    }
}

TEST(RunTime, OnlyHHMMWithinTheDay)
{
    const struct {
        const char* text;
        int hour; // -1: refused
        int minute;
    } cases[] = {
        {"00:00", 0, 0}, {"07:30", 7, 30}, {"23:59", 23, 59}, {"24:00", -1, 0}, {"12:60", -1, 0},
        {"7:30", -1, 0}, {"07:3", -1, 0},  {"0730", -1, 0},   {"07-30", -1, 0}, {" 7:30", -1, 0},
        {"", -1, 0},     {"ab:cd", -1, 0}, {"07:30 ", -1, 0}, {"٠٧:٣٠", -1, 0},
    };
    for (const auto& c : cases) {
        const auto t = parseRunTime(QString::fromUtf8(c.text));
        if (c.hour < 0) {
            EXPECT_FALSE(t.has_value()) << c.text;
        } else {
            ASSERT_TRUE(t.has_value()) << c.text;
            EXPECT_EQ(t->hour, c.hour) << c.text;
            EXPECT_EQ(t->minute, c.minute) << c.text;
        }
    }
}

TEST(CronEntry, TheLineQuotesThePathAndEnvironmentForShAndEscapesPercentForCron)
{
    const QList<EnvAssignment> env{{QStringLiteral("DISPLAY"), QStringLiteral(":0")},
                                   {QStringLiteral("XAUTHORITY"), QStringLiteral("/home/ann/.Xauthority")}};
    auto line =
        composeEntry({30, 7, 1}, env, QStringLiteral("/opt/zb/zb-sequenta"), taskName(QStringLiteral("zb-sequenta")));
    EXPECT_EQ(line.line.toStdString(), "30 7 * * 1 DISPLAY=':0' XAUTHORITY='/home/ann/.Xauthority' "
                                       "'/opt/zb/zb-sequenta' # ZB-SEQUENTA - zb-sequenta");

    line = composeEntry({5, 23, 0}, {}, QStringLiteral("/opt/my progs/it's \"100%\"/run\\%x"),
                        taskName(QStringLiteral("100% it's")));
    EXPECT_EQ(line.line.toStdString(),
              "5 23 * * * '/opt/my progs/it'\\''s \"100\\%\"/run\\''\\%x' # ZB-SEQUENTA - 100\\% it's");
    EXPECT_TRUE(line.error.isEmpty());

    line = composeEntry({0, 0, 0}, {}, QStringLiteral("/opt/a\nb"), taskName(QStringLiteral("x")));
    EXPECT_TRUE(line.line.isEmpty());
    EXPECT_FALSE(line.error.isEmpty());
}

TEST(CronEntry, TheScheduleReadBackGivesTheNextStart)
{
    const QDateTime now(QDate(2026, 12, 9), QTime(7, 30, 20)); // a Wednesday
    const struct {
        const char* line;
        const char* next; // empty: not ours to read
    } cases[] = {
        {"30 7 * * 1 '/x' # ZB-SEQUENTA - x", "2026-12-14 07:30"},
        {"31 7 * * 3 '/x' # ZB-SEQUENTA - x", "2026-12-09 07:31"},
        {"30 7 * * 3 '/x' # ZB-SEQUENTA - x", "2026-12-16 07:30"}, // this minute has begun
        {"0 0 * * * '/x' # ZB-SEQUENTA - x", "2026-12-10 00:00"},
        {"15 9 * * 0 '/x' # ZB-SEQUENTA - x", "2026-12-13 09:15"},
        {"15 9 * * 7 '/x' # ZB-SEQUENTA - x", "2026-12-13 09:15"},
        {"*/5 9 * * 1 '/x' # ZB-SEQUENTA - x", ""},
        {"30 7 1 * 1 '/x' # ZB-SEQUENTA - x", ""},
        {"61 7 * * 1 '/x' # ZB-SEQUENTA - x", ""},
    };
    for (const auto& c : cases) {
        const auto when = parseSchedule(c.line);
        if (*c.next == 0) {
            EXPECT_FALSE(when.has_value()) << c.line;
            continue;
        }
        ASSERT_TRUE(when.has_value()) << c.line;
        EXPECT_EQ(nextStart(*when, now).toString(QStringLiteral("yyyy-MM-dd HH:mm")).toStdString(), c.next) << c.line;
    }
}

// A table as users keep them: variables, comments, other jobs, a look-alike
// of another copy, bytes that are not UTF-8, and no final newline.
const QByteArray kOthers = "SHELL=/bin/bash\n"
                           "MAILTO=\"\"\n"
                           "# m h dom mon dow command\n"
                           "\n"
                           "0 3 * * * /usr/bin/backup --all   # nightly \xe9t\xe9\n"
                           "15 7 * * 1 '/opt/zb/other' # ZB-SEQUENTA - zb-sequenta-2\n"
                           "# 15 7 * * 1 '/opt/zb/zb' # ZB-SEQUENTA - zb-sequenta\n"
                           "@reboot /usr/local/bin/ping-home";

TEST(CrontabEdit, AddReplaceDisableEnableRemoveTouchOnlyThisCopysLine)
{
    const QByteArray marker = entryMarker(taskName(QStringLiteral("zb-sequenta")));
    const QByteArray first = "30 7 * * 1 '/opt/zb/zb-sequenta' " + marker;
    const QByteArray second = "0 6 * * * '/opt/zb/zb-sequenta' " + marker;
    const QByteArray others = kOthers + '\n'; // the one byte the crontab program insists on

    EXPECT_EQ(findEntry(kOthers, marker).state, EntryState::Missing) << "a user's comment is not our line";
    QByteArray table = withEntry(kOthers, marker, first);
    EXPECT_EQ(table, others + first + '\n');
    table = withEntry(table, marker, second);
    EXPECT_EQ(table, others + second + '\n');

    table = withEntryEnabled(table, marker, false);
    EXPECT_EQ(table, others + kDisabledPrefix + second + '\n');
    EXPECT_EQ(findEntry(table, marker).state, EntryState::Disabled);
    EXPECT_EQ(findEntry(table, marker).line, second);
    EXPECT_EQ(withEntryEnabled(table, marker, false), table);
    // Create over a disabled line replaces it with a running one.
    EXPECT_EQ(withEntry(table, marker, first), others + first + '\n');

    table = withEntryEnabled(table, marker, true);
    EXPECT_EQ(table, others + second + '\n');
    EXPECT_EQ(findEntry(table, marker).state, EntryState::Enabled);

    EXPECT_EQ(withoutEntry(table, marker), others);
    EXPECT_EQ(withoutEntry(kOthers, marker), others);
    EXPECT_EQ(withEntryEnabled(kOthers, marker, true), others);
}

TEST(CrontabEdit, ALineInTheMiddleAndDuplicatesComeOutWhole)
{
    const QByteArray marker = entryMarker(taskName(QStringLiteral("a%b")));
    EXPECT_EQ(marker.toStdString(), "# ZB-SEQUENTA - a\\%b");
    const QByteArray ours = "1 2 * * * '/x' " + marker;
    const QByteArray table = "A=1\n" + ours + "  \n0 1 * * * job\n" + kDisabledPrefix + ours + "\nlast";
    EXPECT_EQ(withoutEntry(table, marker), QByteArray("A=1\n0 1 * * * job\nlast\n"));
    EXPECT_EQ(withEntry(table, marker, "new " + marker), "A=1\nnew " + marker + "\n0 1 * * * job\nlast\n");
    EXPECT_EQ(withEntry(QByteArray(), marker, ours), ours + '\n');
    EXPECT_EQ(withoutEntry(ours + '\n', marker), QByteArray());
}

} // namespace
} // namespace zb::schedule
