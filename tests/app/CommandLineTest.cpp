// The command line as a user meets it: the real program, started without a
// display unless a case gives one.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zb {
namespace {

struct Outcome {
    int status = -1;
    bool crashed = true;
    QString out;
    QString err;
};

// `display`, when given, is set as DISPLAY; `stateHome` as XDG_STATE_HOME
// (an empty folder when not given).
Outcome run(const QString& program, const QStringList& arguments, const QString& display = QString(),
            const QString& stateHome = QString())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    if (!display.isEmpty())
        env.insert(QStringLiteral("DISPLAY"), display);
    QTemporaryDir config;
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), config.path());
    env.insert(QStringLiteral("XDG_STATE_HOME"),
               stateHome.isEmpty() ? config.filePath(QStringLiteral("state")) : stateHome);
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Outcome outcome;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return outcome;
    }
    outcome.crashed = process.exitStatus() != QProcess::NormalExit;
    outcome.status = process.exitCode();
    outcome.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    outcome.err = QString::fromLocal8Bit(process.readAllStandardError());
    return outcome;
}

TEST(CommandLine, HelpVersionAndBadOptionsNeedNoDisplay)
{
    const QString program = QStringLiteral(ZB_PROGRAM_PATH);
    const struct {
        QStringList arguments;
        int status;
        const char* out; // how standard output begins; "": nothing
        const char* err; // a part of standard error
    } cases[] = {
        {{QStringLiteral("--help")}, 0, "Usage: zb-sequenta [OPTION]...\n", ""},
        {{QStringLiteral("-h")}, 0, "Usage: zb-sequenta", ""},
        {{QStringLiteral("--version")}, 0, "zb-sequenta " ZB_VERSION "\n", ""},
        {{QStringLiteral("-platform"), QStringLiteral("offscreen"), QStringLiteral("-v")},
         0,
         "zb-sequenta " ZB_VERSION "\n",
         ""},
        {{QStringLiteral("--bogus")}, 2, "", "zb-sequenta: unknown option '--bogus'\n"},
        {{QStringLiteral("-platform=offscreen")}, 2, "", "unknown option '-platform=offscreen'"},
        {{QStringLiteral("nightly")}, 2, "", "unexpected argument 'nightly'"},
        {{QStringLiteral("-style")}, 2, "", "option '-style' needs a value"},
        {{}, 1, "", "needs a display"},
        {{QStringLiteral("-style=Fusion")}, 1, "", "QT_QPA_PLATFORM=offscreen"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const Outcome o = run(program, c.arguments);
        EXPECT_FALSE(o.crashed);
        EXPECT_EQ(o.status, c.status);
        const QString out = QString::fromUtf8(c.out);
        EXPECT_TRUE(out.isEmpty() ? o.out.isEmpty() : o.out.startsWith(out)) << o.out.toStdString();
        EXPECT_TRUE(o.err.contains(QString::fromUtf8(c.err))) << o.err.toStdString();
        if (c.status == 0) {
            EXPECT_TRUE(o.err.isEmpty()) << o.err.toStdString();
        }
        if (c.status == 1) {
            EXPECT_EQ(o.err.count(QLatin1Char('\n')), 1) << "one line: " << o.err.toStdString();
        }
    }
}

TEST(CommandLine, ACopyUnderAnotherNameSpeaksUnderThatName)
{
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("nightly"));
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), link));
    EXPECT_EQ(run(link, {QStringLiteral("--version")}).out, QStringLiteral("nightly " ZB_VERSION "\n"));
    EXPECT_TRUE(run(link, {QStringLiteral("-x")}).err.startsWith(QStringLiteral("nightly: unknown option '-x'")));
}

TEST(CommandLine, LastPrintsTheCopysLastPassWithoutADisplayAndExitsByItsResult)
{
    QTemporaryDir dir;
    const QString nightly = dir.filePath(QStringLiteral("nightly"));
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), nightly));
    const QString state = dir.filePath(QStringLiteral("state"));
    const QString journal = state + QStringLiteral("/ZB-SEQUENTA/nightly-runs.log");
    const auto append = [&](const char* lines) {
        QFile f(journal);
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(lines);
    };

    Outcome o = run(nightly, {QStringLiteral("--last")}, QString(), state);
    EXPECT_EQ(o.status, 3);
    EXPECT_EQ(o.out, QStringLiteral("No passes yet in %1\n").arg(journal));

    ASSERT_TRUE(QDir().mkpath(state + QStringLiteral("/ZB-SEQUENTA")));
    append("2026-12-07T02:00:11+01:00 pass-started by=autostart\n"
           "2026-12-07T02:00:12+01:00 task-started task=1 pid=48213 command=/bin/true\n"
           "2026-12-07T02:00:12+01:00 task-ended task=1 pid=48213 status=0 ran-ms=12\n"
           "2026-12-07T02:00:42+01:00 autoclosed last-run=\"COMPLETED SUCCESSFULLY\"\n");
    o = run(nightly, {QStringLiteral("--last")}, QString(), state);
    EXPECT_FALSE(o.crashed);
    EXPECT_EQ(o.status, 0) << o.out.toStdString() << o.err.toStdString();
    EXPECT_TRUE(o.out.contains(QStringLiteral("How        Autostart\nTook       0:00:31\n"
                                              "Result     COMPLETED SUCCESSFULLY\n"
                                              "TASK 1     exited with 0 after 0:00:00\n")))
        << o.out.toStdString();

    append("2026-12-08T02:00:11+01:00 pass-started by=hand\n"
           "2026-12-08T02:00:12+01:00 task-failed-to-start task=1 command=x reason=\"no such program: x\"\n");
    o = run(nightly, {QStringLiteral("--last")}, QString(), state);
    EXPECT_EQ(o.status, 1);
    EXPECT_TRUE(o.out.contains(QStringLiteral("Result     INTERRUPTED - TASK 2\n"))) << o.out.toStdString();
}

TEST(CommandLine, AnXDisplayThatDoesNotAnswerIsOneLineNotAnAbort)
{
    ASSERT_FALSE(QFile::exists(QStringLiteral("/tmp/.X11-unix/X987")));
    const Outcome o = run(QStringLiteral(ZB_PROGRAM_PATH), {}, QStringLiteral(":987.0"));
    EXPECT_FALSE(o.crashed);
    EXPECT_EQ(o.status, 1);
    EXPECT_EQ(o.err, QStringLiteral("zb-sequenta: needs a display to open its window, and the display :987.0 does not "
                                    "answer; to run it or its tests without one, set QT_QPA_PLATFORM=offscreen\n"));
}

} // namespace
} // namespace zb
