// The real program started as cron starts it, with no display to open its
// window: with the autostart ticked it runs without one; otherwise it says
// why it cannot run, and a start by cron also leaves that in the journal.
#include "platform/qt/IniSettingsStore.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace zb {
namespace {

const QString kCopy = QStringLiteral("zb-no-display");

QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

struct Copy {
    Copy()
    {
        program = root.filePath(kCopy);
        QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program);
        journal = root.filePath(QStringLiteral("state/ZB-SEQUENTA/") + kCopy + QStringLiteral("-runs.log"));
    }
    void start(bool scheduled, bool autostart, const QString& display)
    {
        IniSettingsStore(root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini")))
            .saveSetting(kCopy, QStringLiteral("AUTOSTART_TICKBOX"),
                         autostart ? QStringLiteral("1") : QStringLiteral("0"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ZB_SEQUENTA_SCHEDULED"})
            env.remove(QString::fromLatin1(name));
        if (!display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), display);
        if (scheduled)
            env.insert(QStringLiteral("ZB_SEQUENTA_SCHEDULED"), QStringLiteral("1"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), root.filePath(QStringLiteral("state")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path());
        process.setProcessEnvironment(env);
        process.start(program, {});
    }
    QString err() { return QString::fromLocal8Bit(process.readAllStandardError()); }

    QTemporaryDir root;
    QString program;
    QString journal;
    QProcess process;
};

TEST(NoDisplayStart, AScheduledStartWithTheAutostartRunsWithoutAWindow)
{
    Copy copy;
    copy.start(true, true, QStringLiteral(":987"));
    ASSERT_TRUE(copy.process.waitForStarted(10'000));
    QDeadlineTimer deadline(15'000);
    while (!deadline.hasExpired() && !readText(copy.journal).contains(QStringLiteral("scheduled-start")))
        QThread::msleep(50);
    ASSERT_EQ(copy.process.state(), QProcess::Running) << copy.err().toStdString();
    // It closes the normal way on TERM, as at the end of its chain.
    copy.process.terminate();
    ASSERT_TRUE(copy.process.waitForFinished(10'000));
    EXPECT_EQ(copy.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(copy.process.exitCode(), 0);
    EXPECT_EQ(copy.err().toStdString(),
              "zb-no-display: no display: the display :987 does not answer; started by the schedule with AutoStart "
              "Timer ticked, it runs its chain without a window and closes after it\n");
    EXPECT_TRUE(
        readText(copy.journal)
            .contains(QStringLiteral(" scheduled-start window=no reason=\"the display :987 does not answer\"\n")))
        << readText(copy.journal).toStdString();
}

TEST(NoDisplayStart, AnyOtherStartSaysWhyItCannotRunAndAScheduledOneJournalsIt)
{
    const struct {
        bool scheduled;
        bool autostart;
        const char* journal; // "": none
    } cases[] = {
        {true, false,
         " scheduled-start-not-run reason=\"no display: none is set (DISPLAY or WAYLAND_DISPLAY); "
         "AutoStart Timer is clear\"\n"},
        {false, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scheduled);
        Copy copy;
        copy.start(c.scheduled, c.autostart, QString());
        ASSERT_TRUE(copy.process.waitForFinished(10'000));
        EXPECT_EQ(copy.process.exitCode(), 1);
        const QString err = copy.err();
        EXPECT_TRUE(err.startsWith(QStringLiteral("zb-no-display: needs a display to open its window")))
            << err.toStdString();
        EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
        const QString journal = readText(copy.journal);
        if (*c.journal == 0)
            EXPECT_EQ(journal.toStdString(), "");
        else
            EXPECT_TRUE(journal.endsWith(QString::fromUtf8(c.journal))) << journal.toStdString();
    }
}

} // namespace
} // namespace zb
