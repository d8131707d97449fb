// The e-mail scripts of an unattended pass: what the end e-mail is given to
// send, and how the scripts' own ends count.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using K = JournalEvent::Kind;

const QString kEndScript = QStringLiteral("/opt/zb/BATS/zb-sequenta-END-EMAIL.sh");
const QString kMessage = QStringLiteral("/opt/zb/LOGS/zb-sequenta-END-EMAIL.txt");
const QString kClean = QStringLiteral("ZB-SEQUENTA - zb-sequenta - COMPLETED");

// An unattended pass of slots 1 and 2 with both e-mails; task 2's output
// holds thirty lines. Launches: the start e-mail 1000, slot 1 1001, slot 2
// 1002, the end e-mail 1003. The chain ends at 32 s, the program closes at 43 s.
struct UnattendedPass {
    UnattendedPass()
    {
        for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "START_EMAIL_TICKBOX", "END_EMAIL_TICKBOX",
                                "TASK_1_ENABLE_TICKBOX", "TASK_2_ENABLE_TICKBOX"})
            h.seed(QLatin1String(key), QStringLiteral("1"));
        h.files.present << QStringLiteral("/opt/zb/BATS/zb-sequenta-START-EMAIL.sh") << kEndScript;
        for (int i = 1; i <= 30; ++i)
            h.files.written[QStringLiteral("/state/output/task-2.log")] += "line " + QByteArray::number(i) + '\n';
        h.start();
    }
    // Runs to the close; the tasks end as given at 20 s (-1: not at all).
    void run(int start, int task2)
    {
        h.seconds(13);
        if (start >= 0)
            h.launcher.end(1000, start, 0, 1500);
        h.seconds(7);
        h.launcher.end(1001, 0);
        if (task2 >= 0)
            h.launcher.end(1002, task2, 0, 1000);
        ASSERT_TRUE(h.clock.runUntil([&] { return h.main().unloaded(); }, 30'000));
    }
    QString report() const { return QString::fromUtf8(h.files.written.value(kMessage)); }

    test::Harness h;
};

TEST(EndEmail, TheEndScriptGetsThePassesSubjectAndReportAndTheStartScriptsEndCounts)
{
    const struct {
        const char* what;
        int startEmail;
        int task2;
        QString lastRun;
        QString inReport;
    } cases[] = {
        {"a clean pass", 0, 0, QStringLiteral("COMPLETED SUCCESSFULLY"),
         QStringLiteral("TASK 2     exited with 0 after 0:00:01; started while TASK 1 still ran\n")},
        {"task 2 still runs", 0, -1, QStringLiteral("COMPLETED SUCCESSFULLY"),
         QStringLiteral("TASK 2     still running at close; started while TASK 1 still ran\n")},
        {"task 2 exits 3", 0, 3, QStringLiteral("COMPLETED WITH ERRORS - TASK 2 EXITED WITH 3"),
         QStringLiteral("TASK 2, last lines of its output (/state/output/task-2.log):\nline 11\n")},
        {"the start e-mail was refused", 1, 0, QStringLiteral("COMPLETED WITH ERRORS - START EMAIL FAILED"),
         QStringLiteral("Result     COMPLETED WITH ERRORS - START EMAIL FAILED\n")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UnattendedPass pass;
        pass.run(c.startEmail, c.task2);
        const QString subject = c.lastRun == QStringLiteral("COMPLETED SUCCESSFULLY")
                                    ? kClean
                                    : QStringLiteral("ZB-SEQUENTA - zb-sequenta - COMPLETED WITH ERRORS");
        EXPECT_EQ(pass.h.stored(QStringLiteral("LAST_RUN")), c.lastRun);
        EXPECT_EQ(pass.h.launcher.calls.last().argv,
                  (QStringList{QStringLiteral("/bin/sh"), kEndScript, subject, kMessage}));
        EXPECT_TRUE(pass.report().startsWith(subject + QStringLiteral("\n\n"))) << pass.report().toStdString();
        EXPECT_TRUE(pass.report().contains(c.inReport)) << pass.report().toStdString();
        EXPECT_FALSE(pass.report().contains(QStringLiteral("line 10\n")));
    }
}

TEST(EndEmail, OnceTheWindowHasGoneTheEndScriptIsWaitedForAndItsEndJournaled)
{
    for (const bool ends : {true, false}) {
        SCOPED_TRACE(ends ? "it ends with 1" : "it does not end in time");
        UnattendedPass pass;
        pass.run(0, 0);
        pass.h.launcher.awaiting = [&](qint64 pid) {
            if (ends)
                pass.h.launcher.end(pid, 1);
            return ends;
        };
        pass.h.program->engine.run().awaitEmails(RunControl::kEmailGraceMs);
        ASSERT_EQ(pass.h.launcher.awaited.size(), 1);
        EXPECT_EQ(pass.h.launcher.awaited[0].first, 1003);
        const JournalEvent& last = pass.h.journal.events.last();
        EXPECT_EQ(last.kind, ends ? K::EmailEnded : K::EmailStillRunning);
        EXPECT_EQ(last.email, EmailBatch::End);
        EXPECT_EQ(pass.h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("COMPLETED SUCCESSFULLY"))
            << "the stored text stands";
    }
}

} // namespace
} // namespace zb
