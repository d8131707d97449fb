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

TEST(CronEntry, TheLineMarksTheStartQuotesEveryWordForShAndEscapesItForCron)
{
    const QList<EnvAssignment> env{{QStringLiteral("DISPLAY"), QStringLiteral(":0")},
                                   {QStringLiteral("PATH"), QStringLiteral("/usr/local/bin:/usr/bin:/bin")}};
    auto line =
        composeEntry({30, 7, 1}, env, QStringLiteral("/opt/zb/zb-sequenta"), taskName(QStringLiteral("zb-sequenta")));
    EXPECT_EQ(line.line.toStdString(), "30 7 * * 1 ZB_SEQUENTA_SCHEDULED=1 DISPLAY=':0' "
                                       "PATH='/usr/local/bin:/usr/bin:/bin' '/opt/zb/zb-sequenta' "
                                       "# ZB-SEQUENTA - zb-sequenta");
    EXPECT_TRUE(marksScheduledStart(line.line));
    EXPECT_FALSE(marksScheduledStart("30 7 * * 1 DISPLAY=':0' '/opt/zb/zb-sequenta' # ZB-SEQUENTA - zb-sequenta"));

    // Every backslash doubled (sh's own '\'' too) and every % escaped, for
    // Debian's cron.
    line = composeEntry({5, 23, 0}, {{QStringLiteral("LANG"), QStringLiteral("a\\b")}},
                        QStringLiteral("/opt/my progs/it's \"100%\"/run\\%x\\"), taskName(QStringLiteral("100% it's")));
    EXPECT_EQ(line.line.toStdString(), "5 23 * * * ZB_SEQUENTA_SCHEDULED=1 LANG='a\\\\b' "
                                       "'/opt/my progs/it'\\\\''s \"100\\%\"/run\\\\\\%x\\\\' "
                                       "# ZB-SEQUENTA - 100\\% it's");
    EXPECT_TRUE(line.error.isEmpty());
}

TEST(CronEntry, WhatCannotBeWrittenExactlyIsRefusedWithAReason)
{
    // cron takes at most 998 bytes after the time fields; the crontab
    // program refuses more with "command too long".
    const QString fixed = QStringLiteral("ZB_SEQUENTA_SCHEDULED=1 '/' # ZB-SEQUENTA - x");
    const qsizetype room = kMaxCommandBytes - fixed.size();
    const auto u = [](const char* text) { return QString::fromUtf8(text); };
    const struct {
        QString path;
        QString name;
        const char* error; // a part of it; empty: accepted
    } cases[] = {
        {u("/opt/a\nb"), u("x"), "path holds a line break"},
        {u("/opt/a\rb"), u("x"), "path holds a line break"},
        {u("/opt/ab"), u("x\ny"), "name holds a line break"},
        {u("/opt/\xef\xbf\xbd"), u("x"), "path holds bytes that are not UTF-8"},
        {u("/opt/\ttab"), u(" x "), ""},
        {u("/") + QString(room, QLatin1Char('a')), u("x"), ""},
        {u("/") + QString(room + 1, QLatin1Char('a')), u("x"), "999 bytes"},
    };
    for (const auto& c : cases) {
        const auto line = composeEntry({0, 0, 0}, {}, c.path, taskName(c.name));
        EXPECT_EQ(line.line.isEmpty(), *c.error != 0) << c.path.left(40).toStdString();
        EXPECT_TRUE(line.error.contains(QString::fromUtf8(c.error))) << line.error.toStdString();
    }
    // A variable whose value cron cannot keep is left out, not the entry.
    const auto withBreak =
        composeEntry({}, {{QStringLiteral("LANG"), QStringLiteral("a\nb")}}, QStringLiteral("/p"), taskName(u("x")));
    EXPECT_EQ(withBreak.line.toStdString(), "0 0 * * * ZB_SEQUENTA_SCHEDULED=1 '/p' # ZB-SEQUENTA - x");
}

TEST(CronEntry, CronsUnescapingIsDebiansAsMeasuredOnTheRealDaemon)
{
    // Measured once on cron 3.0pl1-162: \\ gives \, \% gives %, any other
    // backslash stays, a bare % ends the command.
    const struct {
        const char* raw;
        const char* sh;
    } cases[] = {
        {"a\\\\b", "a\\b"}, {"a\\%b", "a%b"},       {"a\\xb", "a\\xb"}, {"ab\\", "ab\\"},
        {"ab\\\\", "ab\\"}, {"a\\\\\\%b", "a\\%b"}, {"a\\\\%b", "a\\"}, {"echo 1%2%3", "echo 1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cronUnescaped(c.raw).toStdString(), c.sh) << c.raw;
    for (const char* text : {"100%", "\\%", "\\\\", "trail\\", "%%\\%\\", "it's \"$(x)\""})
        EXPECT_EQ(cronUnescaped(cronEscaped(QString::fromUtf8(text)).toUtf8()).toStdString(), text) << text;
}

TEST(CronEntry, TheScheduleReadBack)
{
    const struct {
        const char* line;
        int minute; // -1: not ours to read
        int hour;
        int days;
    } cases[] = {
        {"30 7 * * 1 '/x' # ZB-SEQUENTA - x", 30, 7, 1},
        {"0 0 * * * '/x' # ZB-SEQUENTA - x", 0, 0, 0},
        {"15 9 * * 0 '/x' # ZB-SEQUENTA - x", 15, 9, 64},
        {"15 9 * * 7 '/x' # ZB-SEQUENTA - x", 15, 9, 64},
        {"15 9 * * 1-5 '/x' # ZB-SEQUENTA - x", 15, 9, kMondayToFriday},
        {"15 9 * * 1,3,5 '/x' # ZB-SEQUENTA - x", 15, 9, 1 | 4 | 16},
        {"15 9 * * 0-7 '/x' # ZB-SEQUENTA - x", 15, 9, 0},
        {"15 9 * * mon '/x' # ZB-SEQUENTA - x", -1, 0, 0},
        {"*/5 9 * * 1 '/x' # ZB-SEQUENTA - x", -1, 0, 0},
        {"30 7 1 * 1 '/x' # ZB-SEQUENTA - x", -1, 0, 0},
        {"61 7 * * 1 '/x' # ZB-SEQUENTA - x", -1, 0, 0},
    };
    for (const auto& c : cases) {
        const auto when = parseSchedule(c.line);
        if (c.minute < 0) {
            EXPECT_FALSE(when.has_value()) << c.line;
            continue;
        }
        ASSERT_TRUE(when.has_value()) << c.line;
        EXPECT_EQ(*when, (CronSchedule{c.minute, c.hour, c.days})) << c.line;
    }
    const std::pair<int, const char*> written[] = {
        {0, "*"},         {kEveryWeekday, "*"},     {kMondayToFriday, "1-5"}, {1 | 4 | 16, "1,3,5"},
        {32 | 64, "6,7"}, {1 | 2 | 4 | 64, "1-3,7"}};
    for (const auto& [days, field] : written)
        EXPECT_EQ(dayOfWeekField(days), QLatin1String(field)) << field;
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

TEST(CrontabEdit, EachCopyFindsExactlyItsOwnLineWhateverBlanksItsNameHas)
{
    // Names that differ only in blanks, in "|", or that hold another copy's
    // marker, each with a line of its own.
    const QStringList names{QStringLiteral("nightly"),       QStringLiteral("nightly "),
                            QStringLiteral(" nightly"),      QStringLiteral("night  ly"),
                            QStringLiteral("nightly|"),      QStringLiteral("nightly |"),
                            QStringLiteral("nightly\t"),     QStringLiteral("x # ZB-SEQUENTA - nightly"),
                            QStringLiteral("back\\slash"),   QStringLiteral("100%"),
                            QStringLiteral("it's \"x\" # y")};
    QByteArray table = "# 1 2 * * * '/p' # ZB-SEQUENTA - nightly\n"; // the user's comment
    for (const QString& n : names) {
        const auto line = composeEntry({1, 2, 0}, {}, QStringLiteral("/opt/") + n, taskName(n));
        ASSERT_TRUE(line.error.isEmpty()) << n.toStdString();
        EXPECT_FALSE(line.line.endsWith(' ')) << n.toStdString();
        table = withEntry(table, entryMarker(taskName(n)), line.line);
    }
    for (const QString& n : names) {
        const QByteArray marker = entryMarker(taskName(n));
        const FoundEntry found = findEntry(table, marker);
        ASSERT_EQ(found.state, EntryState::Enabled) << n.toStdString();
        EXPECT_TRUE(found.line.contains(cronShellWord(QStringLiteral("/opt/") + n).toUtf8())) << n.toStdString();
        // Blanks an editor leaves at the end do not hide it.
        EXPECT_EQ(findEntry(found.line + " \t", marker).state, EntryState::Enabled) << n.toStdString();
        // Create replaces, Delete removes exactly this one line.
        EXPECT_EQ(withEntry(table, marker, found.line), table) << n.toStdString();
        const QByteArray without = withoutEntry(table, marker);
        EXPECT_EQ(without.count('\n'), table.count('\n') - 1) << n.toStdString();
        EXPECT_EQ(findEntry(without, marker).state, EntryState::Missing) << n.toStdString();
    }
}

} // namespace
} // namespace zb::schedule
