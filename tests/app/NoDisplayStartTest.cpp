// The real program started as cron starts it, with no display to open its
// window: with the autostart ticked it runs without one; otherwise it says
// why it cannot run in one line, and a start by cron also journals that.
#include "platform/qt/IniSettingsStore.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace zb {
namespace {

QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// An X server that takes only clients with its cookie, as a login screen's
// does once the user who made the entry has logged out. The server picks its
// own display and reports it once it is ready for clients; it reads every
// cookie in its file, whatever display the entry names.
struct RefusingDisplay {
    RefusingDisplay()
    {
        const QString auth = dir.filePath(QStringLiteral("auth"));
        QProcess::execute(QStringLiteral("xauth"), {QStringLiteral("-q"), QStringLiteral("-f"), auth,
                                                    QStringLiteral("add"), QStringLiteral(":0"), QStringLiteral("."),
                                                    QStringLiteral("0123456789abcdef0123456789abcdef")});
        x.setStandardErrorFile(QProcess::nullDevice());
        x.start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-auth"),
                                         auth, QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QByteArray number;
        QDeadlineTimer ready(15'000);
        while (!number.contains('\n') && !ready.hasExpired() && x.state() != QProcess::NotRunning) {
            x.waitForReadyRead(200);
            number += x.readAllStandardOutput();
        }
        if (number.contains('\n'))
            name = QLatin1Char(':') + QString::fromLatin1(number.trimmed());
    }
    ~RefusingDisplay()
    {
        x.terminate();
        x.waitForFinished(5000);
    }
    QTemporaryDir dir;
    QString name;
    QProcess x;
};

TEST(NoDisplayStart, OnlyAScheduledStartWithTheAutostartRunsAndAScheduledOneJournalsWhy)
{
    const RefusingDisplay refusing;
    ASSERT_FALSE(refusing.name.isEmpty()) << "Xvfb did not start";
    const QByteArray refusal =
        "the display " + refusing.name.toUtf8() +
        " refuses the connection: Authorization required, but no authorization protocol specified";
    const struct {
        bool scheduled;
        bool autostart;
        QByteArray display;
        bool runs;        // without a window, until TERM
        QByteArray err;   // how stderr begins; one line
        QByteArray entry; // how the journal ends; "" none
    } cases[] = {
        {true, true, ":987", true,
         "zb-no-display: no display: the display :987 does not answer; started by the schedule with AutoStart "
         "Timer ticked, it runs its chain without a window and closes after it\n",
         " scheduled-start window=no reason=\"the display :987 does not answer\"\n"},
        {true, false, "", false, "zb-no-display: needs a display to open its window, and none is set",
         " scheduled-start-not-run reason=\"no display: none is set (DISPLAY or WAYLAND_DISPLAY); AutoStart Timer "
         "is clear\"\n"},
        {false, true, ":987", false, "zb-no-display: needs a display to open its window, and the display :987", ""},
        {true, true, refusing.name.toUtf8(), true, "zb-no-display: no display: " + refusal,
         " scheduled-start window=no reason=\"" + refusal + "\"\n"},
        {false, false, refusing.name.toUtf8(), false,
         "zb-no-display: needs a display to open its window, and " + refusal, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err.toStdString());
        QTemporaryDir root;
        const QString program = root.filePath(QStringLiteral("zb-no-display"));
        ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));
        const QString journal = root.filePath(QStringLiteral("state/ZB-SEQUENTA/zb-no-display-runs.log"));
        IniSettingsStore(root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini")))
            .saveSetting(QStringLiteral("zb-no-display"), QStringLiteral("AUTOSTART_TICKBOX"),
                         QString::number(c.autostart ? 1 : 0));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "ZB_SEQUENTA_SCHEDULED"})
            env.remove(QString::fromLatin1(name));
        if (!c.display.isEmpty())
            env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(c.display));
        env.insert(QStringLiteral("XAUTHORITY"), root.filePath(QStringLiteral("no-cookie")));
        if (c.scheduled)
            env.insert(QStringLiteral("ZB_SEQUENTA_SCHEDULED"), QStringLiteral("1"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_STATE_HOME"), root.filePath(QStringLiteral("state")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), root.path());
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, {});
        ASSERT_TRUE(process.waitForStarted(10'000));
        if (c.runs) {
            QDeadlineTimer deadline(15'000);
            while (!deadline.hasExpired() && !readText(journal).contains(QStringLiteral("scheduled-start")))
                QThread::msleep(50);
            EXPECT_EQ(process.state(), QProcess::Running);
            process.terminate(); // closes the normal way, as at the end of its chain
        }
        ASSERT_TRUE(process.waitForFinished(10'000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), c.runs ? 0 : 1);
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        EXPECT_TRUE(err.startsWith(QString::fromUtf8(c.err))) << err.toStdString();
        EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
        if (c.entry.isEmpty())
            EXPECT_FALSE(QFile::exists(journal));
        else
            EXPECT_TRUE(readText(journal).endsWith(QString::fromUtf8(c.entry))) << readText(journal).toStdString();
    }
}

} // namespace
} // namespace zb
