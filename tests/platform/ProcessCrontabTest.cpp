// The crontab program run as a child process, against stand-ins that keep
// their table in a file, fail, or hang.
#include "platform/linux/ProcessCrontab.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace zb {
namespace {

class ProcessCrontabTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (QCoreApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "zb_crontab_tests";
            static char* argv[] = {name, nullptr};
            new QCoreApplication(argc, argv);
        }
    }

    // A crontab stand-in: -l prints the table file, - replaces it.
    QString standIn(const QByteArray& body)
    {
        const QString path = dir.filePath(QStringLiteral("crontab"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nT='" + table().toUtf8() + "'\n" + body);
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return path;
    }
    QString table() const { return dir.filePath(QStringLiteral("table")); }
    QString fileTable()
    {
        return standIn("case \"$1\" in\n"
                       "-l) [ -f \"$T\" ] || { echo \"no crontab for $(id -un)\" >&2; exit 1; }; "
                       "cat \"$T\";;\n"
                       "-) cat > \"$T\";;\n"
                       "esac\n");
    }

    // Runs one call to its report, through the event loop.
    template <typename Call>
    static CrontabResult await(Call call)
    {
        std::optional<CrontabResult> got;
        call([&got](const CrontabResult& r) {
            EXPECT_FALSE(got.has_value()) << "reported twice";
            got = r;
        });
        while (!got)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        QCoreApplication::processEvents(); // a late second report would show here
        return *got;
    }

    QTemporaryDir dir;
};

TEST_F(ProcessCrontabTest, AUserWithoutATableReadsEmptyAndWhatIsWrittenReadsBackByteForByte)
{
    ProcessCrontab crontab(fileTable());
    CrontabResult r = await([&](Crontab::Done d) { crontab.read(std::move(d)); });
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_TRUE(r.table.isEmpty());

    const QByteArray bytes = "# caf\xe9 \xff\n0 1 * * * a '%' \\%\n\n";
    r = await([&](Crontab::Done d) { crontab.write(bytes, std::move(d)); });
    EXPECT_TRUE(r.ok) << r.error.toStdString();
    r = await([&](Crontab::Done d) { crontab.read(std::move(d)); });
    EXPECT_EQ(r.table, bytes);
}

TEST_F(ProcessCrontabTest, FailuresCarryTheProgramsOwnMessage)
{
    ProcessCrontab failing(standIn("echo \"crontab: installing new crontab failed\" >&2; exit 1\n"));
    CrontabResult r = await([&](Crontab::Done d) { failing.write("x\n", std::move(d)); });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.toStdString(), "crontab: installing new crontab failed");

    ProcessCrontab silent(standIn("exit 3\n"));
    r = await([&](Crontab::Done d) { silent.read(std::move(d)); });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.toStdString(), "crontab failed (exit status 3).");

    ProcessCrontab missing(QString{});
    r = await([&](Crontab::Done d) { missing.read(std::move(d)); });
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("not installed"))) << r.error.toStdString();

    ProcessCrontab gone(dir.filePath(QStringLiteral("no-such-crontab")));
    r = await([&](Crontab::Done d) { gone.read(std::move(d)); });
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("could not be started"))) << r.error.toStdString();
}

TEST_F(ProcessCrontabTest, AHangingProgramIsStoppedAtItsTimeLimitAndSettleWaitsForTheRest)
{
    ProcessCrontab hanging(standIn("exec sleep 30\n"), 300);
    const CrontabResult r = await([&](Crontab::Done d) { hanging.read(std::move(d)); });
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.toStdString(), "crontab did not answer within 0.3 seconds.");

    ProcessCrontab crontab(fileTable());
    std::optional<bool> written;
    crontab.write("a\n", [&](const CrontabResult& w) { written = w.ok; });
    crontab.settle(); // without the event loop: a window closing waits here
    EXPECT_EQ(written, std::optional<bool>(true));
    QFile f(table());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("a\n"));
}

} // namespace
} // namespace zb
