#include "engine/JournalText.h"
#include "engine/HistoryWindowModel.h"
#include "tests/support/Harness.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingJournal.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace zb {
namespace {

using K = JournalEvent::Kind;

const QDateTime kAt(QDate(2026, 12, 7), QTime(2, 30, 5), Qt::OffsetFromUTC, 3600);

TEST(JournalText, EveryEventSurvivesItsLineWhateverItsTexts)
{
    const QString hostile = QStringLiteral("/bin/sh -c \"echo a=b \\\\ c\"\n\tnext line \xe2\x9c\x93");
    QList<JournalEvent> events;
    for (int k = static_cast<int>(K::PassStarted); k <= static_cast<int>(K::PassEndFound); ++k) {
        JournalEvent e;
        e.kind = static_cast<K>(k);
        events.append(e);
    }
    events[0].start = PassStart::Autostart;
    events[3] = {.kind = K::TaskStarted,
                 .slot = 20,
                 .pid = 4194304,
                 .command = hostile,
                 .name = QStringLiteral("Nightly backup"),
                 .file = QStringLiteral("/a b/c.log")};
    events[4] = {
        .kind = K::TaskFailed, .slot = 3, .command = QString(), .reason = QStringLiteral("No such file or directory")};
    events[5] = {.kind = K::WaitBegan, .slot = 4, .name = QStringLiteral(" rsync ")};
    events[7] = {.kind = K::WaitStopped, .slot = 4, .seconds = 86401};
    events[10] = {.kind = K::EmailFailed, .email = EmailBatch::End, .reason = hostile, .file = hostile};
    events[12] = {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED WITH ERRORS - TASK 4 FAILED TO START")};
    events[13] = {.kind = K::TaskExited, .slot = 2, .pid = 77, .signal = 9, .runMs = 1234};
    events[15] = {
        .kind = K::ScheduledStart, .reason = QStringLiteral("the display :0 does not answer"), .windowless = true};
    events[16] = {.kind = K::ScheduledStartNotRun, .reason = hostile};
    events[17] = {.kind = K::EmailEnded, .email = EmailBatch::End, .pid = 78, .exitCode = 1, .runMs = 20};
    events[18] = {.kind = K::EmailStillRunning, .email = EmailBatch::End, .pid = 79};
    events[19] = {.kind = K::PassInterrupted, .slot = 4, .reason = QStringLiteral("found at start")};
    events[20] = {.kind = K::PassEndFound, .reason = QStringLiteral("COMPLETED SUCCESSFULLY")};
    for (int i : {2, 6, 14})
        events[i].slot = 1;
    events.append({.kind = K::TaskStarted,
                   .slot = 5,
                   .pid = 9,
                   .command = QStringLiteral("job"),
                   .reason = QStringLiteral("Permission denied")}); // its output could not be kept
    events.append({.kind = K::PassStarted, .start = PassStart::Schedule, .windowless = true});
    for (const JournalEvent& e : events) {
        const QString line = journalLine(kAt, e);
        SCOPED_TRACE(line.toStdString());
        EXPECT_FALSE(line.contains(QLatin1Char('\n')));
        EXPECT_TRUE(line.startsWith(QStringLiteral("2026-12-07T02:30:05+01:00 ")));
        const auto back = parseJournalLine(line);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ(back->when, kAt);
        EXPECT_EQ(back->event, e);
    }
    EXPECT_EQ(journalLine(kAt, events[13]),
              QStringLiteral("2026-12-07T02:30:05+01:00 task-ended task=2 pid=77 signal=9 ran-ms=1234"));
    EXPECT_EQ(journalLine(kAt, events.last()),
              QStringLiteral("2026-12-07T02:30:05+01:00 pass-started by=schedule window=no"));
    // The pass a line names comes back with it, and tells when the pass began.
    const QString id = passIdFor(kAt, 4242);
    EXPECT_EQ(parseJournalLine(journalLine(kAt, events[2], id))->pass, id);
    EXPECT_EQ(passIdStart(id), kAt);
}

TEST(JournalText, LocalTimesAreWrittenWithTheirOffset)
{
    const QDateTime local(QDate(2026, 7, 1), QTime(12, 0), Qt::LocalTime);
    const QString text = isoTimeWithOffset(local);
    EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("^2026-07-01T12:00:00([+-]\\d\\d:\\d\\d|Z)$"))))
        << text.toStdString();
    EXPECT_EQ(QDateTime::fromString(text, Qt::ISODate), local);
}

TEST(JournalText, LinesThatAreNotJournalLinesAreRefused)
{
    for (const char* line : {"", "garbage", "2026-12-07T02:30:05+01:00", "not-a-time task-skipped task=1",
                             "2026-12-07T02:30:05+01:00 no-such-event", "2026-12-07T02:30:05+01:00 task-skipped task",
                             "2026-12-07T02:30:05+01:00 task-started command=\"unterminated",
                             "2026-12-07T02:30:05+01:00 task-started command=\"ends in \\"}) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(parseJournalLine(QString::fromUtf8(line)).has_value());
    }
    // Values no event can carry: hand edits, or a number cut by a full disk.
    for (const char* fields :
         {"task-skipped task=-3", "task-skipped task=1215752191", "task-skipped task=0", "task-skipped task=21",
          "task-skipped task=1x", "task-ended task=1 pid=-5 status=0", "task-ended task=1 pid=5 status=256",
          "task-ended task=1 pid=5 status=-1", "wait-ended task=1 seconds=-1",
          "task-ended task=1 pid=5 signal=9 ran-ms=-10", "task-ended task=1 pid=99999999999999999999 status=0"}) {
        SCOPED_TRACE(fields);
        EXPECT_FALSE(parseJournalLine(QStringLiteral("2026-12-07T02:30:05+01:00 ") + QLatin1String(fields)));
    }
    // A line cut short, with the next one joined to it by an earlier version:
    // the joined line still reads.
    const auto joined = parseJournalLine(QStringLiteral("2026-12026-12-07T02:30:05+01:00 pass-started by=autostart"));
    ASSERT_TRUE(joined.has_value());
    EXPECT_EQ(joined->event.kind, K::PassStarted);
    EXPECT_EQ(joined->when, kAt);
}

// Journal lines as a file holds them, one pass after another.
class JournalLines {
public:
    JournalLines& at(int second, JournalEvent e)
    {
        lines << journalLine(kAt.addSecs(second), e);
        return *this;
    }
    JournalLines& raw(const char* line)
    {
        lines << QString::fromUtf8(line);
        return *this;
    }
    QStringList lines;
};

TEST(HistoryWindowModel, ReadsPassesNewestFirstWithEachSlotsOutcome)
{
    JournalLines j;
    j.raw("half a line from a crash")
        .at(0, {.kind = K::TaskSkipped, .slot = 9}) // before any pass
        .at(0, {.kind = K::PassStarted, .start = PassStart::Autostart})
        .at(1, {.kind = K::TaskSkipped, .slot = 1})
        .at(2, {.kind = K::TaskStarted,
                .slot = 2,
                .pid = 500,
                .command = QStringLiteral("job"),
                .file = QStringLiteral("/out/2.log")})
        .raw("2026-12-07T02:30:05+01:00 task-started task=\"broken")
        .at(4, {.kind = K::TaskFailed, .slot = 3, .reason = QStringLiteral("Permission denied")})
        .at(25, {.kind = K::ChainEnded})
        .at(36, {.kind = K::Autoclosed, .reason = QStringLiteral("COMPLETED WITH ERRORS - TASK 3 FAILED TO START")})
        .at(36, {.kind = K::TaskStillRunning, .slot = 2, .pid = 500})
        .at(4000, {.kind = K::PassStarted})
        .at(4001, {.kind = K::TaskStarted, .slot = 1, .pid = 600, .file = QStringLiteral("/out/1.log")})
        .at(4005, {.kind = K::PassStopped})
        .at(4010, {.kind = K::PassStarted})
        .at(4011, {.kind = K::TaskStarted, .slot = 1, .pid = 700})
        .at(4020, {.kind = K::TaskExited, .slot = 1, .pid = 600, .exitCode = 3, .runMs = 19000})
        // The end of a task whose start went with a lost line belongs to no pass.
        .at(560000, {.kind = K::TaskExited, .slot = 1, .pid = 42, .exitCode = 7, .runMs = 1000});

    const QList<HistoryPass> passes = historyFromJournal(j.lines);
    ASSERT_EQ(passes.size(), 3);
    const HistoryPass& first = passes[2];
    EXPECT_EQ(first.how, QStringLiteral("Autostart"));
    EXPECT_EQ(first.took, QStringLiteral("0:00:25")) << "up to its chain's end, not the autoclose";
    EXPECT_EQ(first.result, QStringLiteral("COMPLETED WITH ERRORS - TASK 3 FAILED TO START"));
    ASSERT_EQ(first.slots.size(), 3);
    EXPECT_EQ(first.slots[0].outcome, QStringLiteral("skipped"));
    EXPECT_EQ(first.slots[1].outcome, QStringLiteral("still running at close"));
    EXPECT_EQ(first.slots[1].outputFile, QStringLiteral("/out/2.log"));
    EXPECT_EQ(first.slots[2].outcome, QStringLiteral("failed to start: Permission denied"));

    const HistoryPass& stopped = passes[1];
    EXPECT_EQ(stopped.how, QStringLiteral("By hand"));
    EXPECT_EQ(stopped.result, QStringLiteral("STOPPED"));
    ASSERT_EQ(stopped.slots.size(), 1);
    EXPECT_EQ(stopped.slots[0].outcome, QStringLiteral("exited with 3 after 0:00:19"))
        << "its end came during the next pass";
    EXPECT_EQ(stopped.took, QStringLiteral("0:00:05"));

    EXPECT_EQ(passes[0].result, QStringLiteral("INTERRUPTED - TASK 1")) << "no end, and nothing runs it now";
    EXPECT_EQ(historyFromJournal(j.lines, true)[0].result, QStringLiteral("RUNNING"));
    EXPECT_EQ(passes[0].slots[0].outcome, QStringLiteral("started, pid 700"));
    EXPECT_EQ(passes[0].took, QStringLiteral("0:00:01"));
}

TEST(HistoryWindowModel, ShowsTheEndOfThePickedTasksOutputAndSaysWhatCannotBeOpened)
{
    test::Harness h;
    h.start();
    RecordingJournal journal;
    struct Journal : RecordingJournal {
        QStringList lines;
        QString journalFile() const override { return QStringLiteral("/state/zb-runs.log"); }
        QStringList readLines() const override { return lines; }
    } file;
    file.lines = JournalLines()
                     .at(0, {.kind = K::PassStarted})
                     .at(1, {.kind = K::TaskStarted, .slot = 1, .pid = 5, .file = QStringLiteral("/out/1.log")})
                     .at(2, {.kind = K::TaskSkipped, .slot = 2})
                     .at(3, {.kind = K::TaskStarted, .slot = 3, .pid = 6, .file = QStringLiteral("/out/3.log")})
                     .lines;
    QByteArray long1;
    for (int line = 1; line <= 250; ++line)
        long1 += "line " + QByteArray::number(line) + '\n';
    h.files.texts[QStringLiteral("/out/1.log")] = long1;
    h.files.present.insert(QStringLiteral("/out/1.log"));
    HistoryWindowModel model(h.program->settings, file, h.files);
    QStringList opened;
    bool opens = true;
    model.openPath = [&](const QString& path) {
        opened << path;
        return opens;
    };
    model.Form_Load();
    EXPECT_EQ(model.HISTORY_STATUS_LABEL.caption(), QStringLiteral("1 pass in /state/zb-runs.log"));
    EXPECT_FALSE(model.OPEN_OUTPUT_BUTTON.enabled());
    EXPECT_EQ(model.TASK_OUTPUT_LABEL.caption(), QStringLiteral("Pick a task to see the end of its output."));

    model.select(0, 2);
    EXPECT_FALSE(model.OPEN_OUTPUT_BUTTON.enabled()) << "a skipped slot has no output";
    EXPECT_EQ(model.TASK_OUTPUT_LABEL.caption(), QStringLiteral("TASK 2 kept no output in this pass."));

    // The last 200 lines, read-only.
    model.select(0, 1);
    const QStringList lines = model.TASK_OUTPUT_TEXTBOX.text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), HistoryWindowModel::kOutputLines);
    EXPECT_EQ(lines.first(), QStringLiteral("line 51"));
    EXPECT_EQ(lines.last(), QStringLiteral("line 250"));
    EXPECT_TRUE(model.TASK_OUTPUT_TEXTBOX.locked());
    EXPECT_EQ(model.TASK_OUTPUT_LABEL.caption(), QStringLiteral("Output of TASK 1, its last 200 lines: /out/1.log"));

    // Opening: done, no program for it, a file or folder that is not there.
    model.OPEN_OUTPUT_BUTTON.click();
    EXPECT_EQ(model.OPEN_MESSAGE_LABEL.caption(), QString());
    opens = false;
    model.OPEN_OUTPUT_BUTTON.click();
    EXPECT_EQ(model.OPEN_MESSAGE_LABEL.caption(),
              QStringLiteral("Cannot open /out/1.log: no program to open it with."));
    model.OPEN_FOLDER_BUTTON.click();
    EXPECT_EQ(model.OPEN_MESSAGE_LABEL.caption(), QStringLiteral("Cannot open /state: it is not there."));
    EXPECT_EQ(opened, (QStringList{QStringLiteral("/out/1.log"), QStringLiteral("/out/1.log")}));
    h.files.folders.insert(QStringLiteral("/state"));
    opens = true;
    model.OPEN_FOLDER_BUTTON.click();
    EXPECT_EQ(opened.last(), QStringLiteral("/state"));
    EXPECT_EQ(model.OPEN_MESSAGE_LABEL.caption(), QString());

    // Output pruned since says why it shows nothing, and cannot be opened.
    model.select(0, 3);
    EXPECT_EQ(model.TASK_OUTPUT_TEXTBOX.text(), QString());
    EXPECT_EQ(model.TASK_OUTPUT_LABEL.caption(),
              QStringLiteral("Cannot read the output of TASK 3, /out/3.log: No such file or directory"));
    EXPECT_FALSE(model.OPEN_OUTPUT_BUTTON.enabled());
    model.OPEN_OUTPUT_BUTTON.click();
    EXPECT_EQ(opened.size(), 3);

    HistoryWindowModel none(h.program->settings, journal, h.files);
    none.Form_Load();
    EXPECT_EQ(none.HISTORY_STATUS_LABEL.caption(), QStringLiteral("This copy keeps no journal."));
    EXPECT_FALSE(none.OPEN_FOLDER_BUTTON.enabled());
}

// Opening reads the newest passes on a thread of its own; older ones come
// when asked, and the pass picked stays picked.
TEST(HistoryWindowModel, ReadsTheNewestPassesAsideAndOlderOnesWhenAsked)
{
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    test::Harness h;
    h.start();
    struct Journal : RecordingJournal {
        QStringList lines;
        QString journalFile() const override { return QStringLiteral("/state/zb-runs.log"); }
        void readBackward(const LineBatches& take) const override
        {
            for (qsizetype i = lines.size() - 1; i >= 0 && take({lines[i]}); --i) {
            }
        }
    } file;
    JournalLines j;
    for (int pass = 0; pass < 120; ++pass)
        j.at(pass * 100, {.kind = K::PassStarted}).at(pass * 100 + 5, {.kind = K::ChainEnded});
    file.lines = j.lines;
    HistoryWindowModel model(h.program->settings, file, h.files);
    model.readInBackground();
    int changes = 0;
    model.passesChanged = [&] { ++changes; };
    const auto waitFor = [&](int change) {
        for (QDeadlineTimer limit(10000); changes < change && !limit.hasExpired();)
            app.processEvents(QEventLoop::WaitForMoreEvents, 50);
        ASSERT_EQ(changes, change);
    };
    model.Form_Load();
    waitFor(1);
    ASSERT_EQ(model.passes().size(), HistoryWindowModel::kFirstPasses);
    EXPECT_EQ(model.HISTORY_STATUS_LABEL.caption(),
              QStringLiteral("The newest 50 passes in /state/zb-runs.log; the journal goes back further"));
    model.select(2, 0);
    ASSERT_TRUE(model.LOAD_OLDER_BUTTON.enabled());
    model.LOAD_OLDER_BUTTON.click();
    EXPECT_FALSE(model.LOAD_OLDER_BUTTON.enabled()) << "one read at a time";
    waitFor(2);
    EXPECT_EQ(model.passes().size(), 100);
    // A pass recorded meanwhile comes in on top; the one picked stays picked.
    file.lines << JournalLines().at(20000, {.kind = K::PassStarted}).lines;
    model.LOAD_OLDER_BUTTON.click();
    waitFor(3);
    EXPECT_EQ(model.passes().size(), 121);
    EXPECT_EQ(model.pickedPass(), 3);
    EXPECT_EQ(model.passes()[3].started, kAt.addSecs(11700));
    EXPECT_FALSE(model.LOAD_OLDER_BUTTON.enabled());
    EXPECT_EQ(model.HISTORY_STATUS_LABEL.caption(), QStringLiteral("121 passes in /state/zb-runs.log"));
}

} // namespace
} // namespace zb
