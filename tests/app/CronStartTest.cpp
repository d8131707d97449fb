// A long, real check of the scheduled start: the scheduled-task window
// creates its entry in root's real crontab through the real crontab
// program, a real cron daemon starts the program at the next minute on a
// virtual X server, and the program runs its chain and closes by itself.
// Root's own crontab is put back as it was. Skips where the machine cannot
// do this (not root, no cron, no Xvfb).
#include "platform/fake/FakeExecutableInfo.h"
#include "platform/linux/ProcFsProcessQuery.h"
#include "platform/linux/ProcessCrontab.h"
#include "platform/qt/IniSettingsStore.h"
#include "schedule/SchedulerTexts.h"
#include "schedule/SchedulerWindowModel.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace zb {
namespace {

QString findProgram(const QString& name)
{
    return QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                                                 QStringLiteral("/sbin"), QStringLiteral("/bin")});
}

QString readText(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Runs a program to its end; returns its exit code, -1 when it failed.
int runToEnd(const QString& program, const QStringList& args, const QByteArray& input = {}, QByteArray* out = nullptr)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(5000))
        return -1;
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(10'000)) {
        p.kill();
        p.waitForFinished();
        return -1;
    }
    if (out != nullptr)
        *out = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// Root's crontab as the test found it, put back however the test ends.
class SavedCrontab {
public:
    explicit SavedCrontab(QString crontab) : crontab_(std::move(crontab))
    {
        QByteArray table;
        had_ = runToEnd(crontab_, {QStringLiteral("-l")}, {}, &table) == 0;
        table_ = table;
    }
    ~SavedCrontab()
    {
        if (had_)
            runToEnd(crontab_, {QStringLiteral("-")}, table_);
        else
            runToEnd(crontab_, {QStringLiteral("-r")});
    }
    const QByteArray& table() const { return table_; }

private:
    QString crontab_;
    QByteArray table_;
    bool had_ = false;
};

// A child process stopped by its own id when the test ends.
struct Child {
    QProcess process;
    ~Child()
    {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(3000)) {
                process.kill();
                process.waitForFinished();
            }
        }
    }
};

// The process whose first command-line word is exactly path, if any.
pid_t processStartedAs(const QString& path)
{
    const QByteArray wanted = QFile::encodeName(path);
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (pid.toInt() > 0 && cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().split('\0').value(0) == wanted)
            return pid.toInt();
    }
    return 0;
}

TEST(CronStart, CronStartsTheProgramAtItsMinuteOnTheDisplayAndItRunsItsChain)
{
    const QString crontabProgram = ProcessCrontab::findProgram();
    const QString cron = findProgram(QStringLiteral("cron"));
    const QString xvfb = findProgram(QStringLiteral("Xvfb"));
    if (geteuid() != 0 || crontabProgram.isEmpty() || cron.isEmpty() || xvfb.isEmpty())
        GTEST_SKIP() << "needs root, cron, crontab and Xvfb: this machine cannot run a real scheduled start";

    int argc = 1;
    char name[] = "zb_cron_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // A display of our own.
    int display = 90 + getpid() % 100;
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)) ||
           QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(display)))
        ++display;
    Child x;
    x.process.start(xvfb, {QStringLiteral(":%1").arg(display), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                           QStringLiteral("-screen"), QStringLiteral("0"), QStringLiteral("1024x768x24")});
    QDeadlineTimer xReady(10'000);
    while (!xReady.hasExpired() && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)))
        QThread::msleep(50);
    ASSERT_TRUE(QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display))) << "Xvfb did not start";

    // A copy under a name of its own, with its settings in the test's folder:
    // autostart, one slot that writes its display into a stamp, autoclose.
    // Its folder's name has what sh and cron would otherwise take apart.
    const QString folder = root.filePath(QStringLiteral("it's 100% \\%done"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString copyName = QStringLiteral("zb-cron-%1").arg(getpid());
    const QString program = folder + QLatin1Char('/') + copyName;
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), program));
    const QString config = root.filePath(QStringLiteral("config"));
    const QString ini = config + QStringLiteral("/ZB-SEQUENTA/ZB-SEQUENTA.ini");
    const QString stamp = root.filePath(QStringLiteral("stamp"));
    {
        IniSettingsStore store(ini);
        for (const char* key : {"AUTOSTART_TICKBOX", "AUTOCLOSE_TICKBOX", "TASK_1_ENABLE_TICKBOX"})
            store.saveSetting(copyName, QLatin1String(key), QStringLiteral("1"));
        store.saveSetting(copyName, QStringLiteral("AlwaysOnTopTimer_TICKBOX"), QStringLiteral("0"));
        store.saveSetting(copyName, QStringLiteral("TASK_1_CMD"),
                          QStringLiteral("/bin/sh -c \"echo started on $DISPLAY > %1\"").arg(stamp));
    }

    // The session the window records in the entry.
    qputenv("DISPLAY", QStringLiteral(":%1").arg(display).toUtf8());
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    for (const char* unset : {"XAUTHORITY", "XDG_RUNTIME_DIR", "DBUS_SESSION_BUS_ADDRESS"})
        qunsetenv(unset);

    SavedCrontab saved(crontabProgram);
    ProcFsProcessQuery processes;
    Child ourCron;
    if (processes.isProcessRunning(QStringLiteral("cron")) != ProcessPresence::Running) {
        ourCron.process.start(cron, {QStringLiteral("-f")});
        ASSERT_TRUE(ourCron.process.waitForStarted(5000));
    }

    // The next minute that leaves cron time to see the new table.
    QDateTime at = QDateTime::currentDateTime().addSecs(60);
    if (at.time().second() >= 50)
        at = at.addSecs(60);
    at.setTime(QTime(at.time().hour(), at.time().minute()));

    IniSettingsStore windowStore(root.filePath(QStringLiteral("window.ini")));
    FakeExecutableInfo exe(copyName, folder);
    {
        ProcessCrontab crontab(crontabProgram);
        Settings settings(windowStore, exe);
        SchedulerWindowModel window(settings, crontab, processes, exe);
        window.Form_Load();
        window.dayTicks[std::size_t(at.date().dayOfWeek() - 1)]->click();
        window.TASK_RUN_TIME_TEXTBOX.edit(at.toString(QStringLiteral("HH:mm")));
        window.CREATE_TASK_BUTTON.click();
        QDeadlineTimer done(20'000);
        while (window.busy() && !done.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        ASSERT_EQ(window.TASK_STATUS_TEXTBOX.text(), text::kTaskCreated)
            << window.SCHEDULE_HEALTH_TEXTBOX.text().toStdString();
        EXPECT_EQ(window.SCHEDULE_HEALTH_TEXTBOX.text(),
                  QStringLiteral("Next start: ") + QLocale::c().toString(at, QStringLiteral("ddd yyyy-MM-dd HH:mm")));
    }
    QByteArray installed;
    ASSERT_EQ(runToEnd(crontabProgram, {QStringLiteral("-l")}, {}, &installed), 0);
    EXPECT_TRUE(installed.startsWith(saved.table())) << "root's own lines come first, untouched";
    EXPECT_TRUE(installed.contains(QStringLiteral("DISPLAY=':%1'").arg(display).toUtf8())) << installed.toStdString();

    // Started at the minute, the chain writes the stamp some 12 s later; the
    // autoclose ends the run about 30 s after that.
    const qint64 toStart = QDateTime::currentDateTime().msecsTo(at);
    QDeadlineTimer stamped(toStart + 40'000);
    while (!stamped.hasExpired() && !QFile::exists(stamp))
        QThread::msleep(250);
    ASSERT_TRUE(QFile::exists(stamp)) << "cron did not start the program by " << toStart / 1000 + 40 << " s";
    EXPECT_EQ(readText(stamp).toStdString(), QStringLiteral("started on :%1\n").arg(display).toStdString());

    QDeadlineTimer closed(60'000);
    while (!closed.hasExpired() && processStartedAs(program) != 0)
        QThread::msleep(250);
    if (const pid_t left = processStartedAs(program); left != 0) {
        kill(left, SIGTERM);
        FAIL() << "the program started by cron did not close by itself";
    }
    const IniSettingsStore after(ini);
    EXPECT_EQ(after.getSetting(copyName, QStringLiteral("LAST_RUN"), QString()).toStdString(),
              "COMPLETED SUCCESSFULLY");
}

} // namespace
} // namespace zb
