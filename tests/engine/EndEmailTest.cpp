// The e-mail scripts of an unattended pass: what the end e-mail is given to
// send, and how the scripts' own ends count.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

namespace zb {
namespace {

using test::enableSlot;
using test::Harness;
using K = JournalEvent::Kind;

const QString kStartScript = QStringLiteral("/opt/zb/BATS/zb-sequenta-START-EMAIL.sh");
const QString kEndScript = QStringLiteral("/opt/zb/BATS/zb-sequenta-END-EMAIL.sh");
const QString kMessage = QStringLiteral("/opt/zb/LOGS/zb-sequenta-END-EMAIL.txt");

// An unattended pass of slots 1 and 2 with both e-mails; task 2's output
// file holds thirty lines.
struct UnattendedPass {
    UnattendedPass()
    {
        for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "START_EMAIL_TICKBOX", "END_EMAIL_TICKBOX"})
            h.seed(QLatin1String(key), QStringLiteral("1"));
        h.files.present << kStartScript << kEndScript;
        QByteArray output;
        for (int i = 1; i <= 30; ++i)
            output += "line " + QByteArray::number(i) + '\n';
        h.files.written[QStringLiteral("/state/output/task-2.log")] = output;
        h.start();
        enableSlot(h.main(), 1, QStringLiteral("prepare"));
        enableSlot(h.main(), 2, QStringLiteral("convert"));
    }
    // Runs to the autoclose; `during` runs once the chain has ended.
    void run(const std::function<void()>& during = {})
    {
        h.clock.advance(34'000 - h.clock.now()); // the chain ended at 32 s
        if (during)
            during();
        ASSERT_TRUE(h.clock.runUntil([&] { return h.main().unloaded(); }, 20'000));
    }
    const FakeLauncher::Call& endEmail() const { return h.launcher.calls.last(); }

    Harness h;
};

// Launches: the start e-mail 1000, slot 1 1001, slot 2 1002, the end e-mail 1003.
TEST(EndEmail, ThePassesSubjectAndReportGoToTheEndScript)
{
    const struct {
        const char* what;
        int task2Exit; // -1: still running at the autoclose
        QString subject;
        QStringList inReport;
        QStringList notInReport;
    } cases[] = {
        {"a clean pass",
         0,
         QStringLiteral("ZB-SEQUENTA - zb-sequenta - COMPLETED"),
         {QStringLiteral("Result     COMPLETED SUCCESSFULLY\n"),
          QStringLiteral("TASK 2     exited with 0 after 0:00:01\n")},
         {QStringLiteral("line 30")}},
        {"task 2 exits 3",
         3,
         QStringLiteral("ZB-SEQUENTA - zb-sequenta - COMPLETED WITH ERRORS"),
         {QStringLiteral("Result     COMPLETED WITH ERRORS - TASK 2 EXITED WITH 3\n"),
          QStringLiteral("TASK 2     exited with 3 after 0:00:01\n"),
          QStringLiteral("TASK 2, last lines of its output (/state/output/task-2.log):\nline 11\n"),
          QStringLiteral("line 30\n")},
         {QStringLiteral("line 10\n")}},
        {"task 2 still runs",
         -1,
         QStringLiteral("ZB-SEQUENTA - zb-sequenta - COMPLETED"),
         {QStringLiteral("TASK 2     still running at close\n"), QStringLiteral("How        Autostart\n")},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UnattendedPass pass;
        pass.run([&] {
            pass.h.launcher.end(1001, 0, 0, 1000);
            if (c.task2Exit >= 0)
                pass.h.launcher.end(1002, c.task2Exit, 0, 1000);
        });
        EXPECT_EQ(pass.endEmail().argv, (QStringList{QStringLiteral("/bin/sh"), kEndScript, c.subject, kMessage}));
        EXPECT_EQ(pass.endEmail().style, WindowStyle::Hidden);
        const QString report = QString::fromUtf8(pass.h.files.written.value(kMessage));
        EXPECT_TRUE(report.startsWith(c.subject + QStringLiteral("\n\n"))) << report.toStdString();
        for (const QString& part : c.inReport)
            EXPECT_TRUE(report.contains(part)) << part.toStdString() << " in\n" << report.toStdString();
        for (const QString& part : c.notInReport)
            EXPECT_FALSE(report.contains(part)) << part.toStdString() << " in\n" << report.toStdString();
    }
}

TEST(EndEmail, WithoutItsMessageFileTheEndScriptStillSendsTheSubject)
{
    UnattendedPass pass;
    pass.h.files.missingFolders << QStringLiteral("/opt/zb/LOGS");
    pass.run();
    EXPECT_EQ(pass.endEmail().argv, (QStringList{QStringLiteral("/bin/sh"), kEndScript,
                                                 QStringLiteral("ZB-SEQUENTA - zb-sequenta - COMPLETED")}));
}

TEST(EndEmail, AStartEmailThatFailsMakesThePassCompleteWithErrors)
{
    const struct {
        const char* what;
        int exitCode;
        int signal;
        QString lastRun;
    } cases[] = {
        {"sent", 0, 0, QStringLiteral("COMPLETED SUCCESSFULLY")},
        {"refused", 1, 0, QStringLiteral("COMPLETED WITH ERRORS - START EMAIL FAILED")},
        {"killed", 0, 15, QStringLiteral("COMPLETED WITH ERRORS - START EMAIL FAILED")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        UnattendedPass pass;
        pass.h.seconds(13);
        pass.h.launcher.end(1000, c.exitCode, c.signal, 1500);
        pass.run([&] {
            pass.h.launcher.end(1001, 0);
            pass.h.launcher.end(1002, 0);
        });
        EXPECT_EQ(pass.h.stored(QStringLiteral("LAST_RUN")), c.lastRun);
        const JournalEvent ended{.kind = K::EmailEnded,
                                 .email = EmailBatch::Start,
                                 .pid = 1000,
                                 .exitCode = c.exitCode,
                                 .signal = c.signal,
                                 .runMs = 1500};
        EXPECT_TRUE(pass.h.journal.events.contains(ended));
        EXPECT_EQ(pass.endEmail().argv.at(2),
                  c.exitCode == 0 && c.signal == 0
                      ? QStringLiteral("ZB-SEQUENTA - zb-sequenta - COMPLETED")
                      : QStringLiteral("ZB-SEQUENTA - zb-sequenta - COMPLETED WITH ERRORS"));
    }
}

TEST(EndEmail, OnceTheWindowHasGoneTheEndScriptIsWaitedForAndItsEndJournaled)
{
    for (const bool ends : {true, false}) {
        SCOPED_TRACE(ends ? "it ends with 1" : "it does not end in time");
        UnattendedPass pass;
        pass.run();
        pass.h.launcher.awaiting = [&](qint64 pid) {
            if (!ends)
                return false;
            pass.h.launcher.end(pid, 1);
            return true;
        };
        pass.h.program->engine.run().awaitEmails(RunControl::kEmailGraceMs);
        // The start script (1000) never ended either.
        ASSERT_EQ(pass.h.launcher.awaited.size(), 2);
        EXPECT_EQ(pass.h.launcher.awaited.last().first, 1003);
        const JournalEvent& last = pass.h.journal.events.last();
        EXPECT_EQ(last.kind, ends ? K::EmailEnded : K::EmailStillRunning);
        EXPECT_EQ(last.email, EmailBatch::End);
        EXPECT_EQ(last.exitCode, ends ? 1 : 0);
        // The stored text stands: the pass had ended before.
        EXPECT_EQ(pass.h.stored(QStringLiteral("LAST_RUN")), QStringLiteral("COMPLETED SUCCESSFULLY"));
    }
}

} // namespace
} // namespace zb
