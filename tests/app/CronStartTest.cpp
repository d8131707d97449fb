// The long, real check of scheduled starts, all in one cron minute: the
// scheduled-task window creates two copies' entries in root's real crontab
// through the real crontab program, and the real cron daemon starts them.
//  - Copy A has its X server: it runs a task given by a bare name that lives
//    only in /usr/local/bin, closes by itself, and History shows the pass as
//    started by the schedule; the window then says how the start went.
//  - Copy B's display does not answer at the minute: it runs its chain
//    without a window, sends both e-mails to a loopback SMTP server and
//    closes, though its AutoClose is clear.
//  - Probes in folders with hostile names check that cron and sh hand every
//    byte of the line over unchanged, as the quick escaping test assumes.
// A second minute proves the guards, each row a copy set up through its
// windows: a hung task ends at its limit and the end e-mail says so; a failing
// task stops its chain; of two day sets only the one holding today runs; and
// a copy whose minute passed while it could not run catches it up at boot,
// once over two boots.
// Root's own crontab is put back as it was. Skips where the machine cannot
// do this (not root; no cron, Xvfb, sendEmail or loopback server).
#include "core/MainWindowModel.h"
#include "editors/AllTaskSettingsWindowModel.h"
#include "editors/SingleTaskSettingsWindowModel.h"
#include "engine/FileRunJournal.h"
#include "engine/HistoryWindowModel.h"
#include "engine/PassReport.h"
#include "mail/SendEmailCommand.h"
#include "platform/fake/FakeExecutableInfo.h"
#include "platform/fake/FakeFileDialog.h"
#include "platform/fake/SimulatedClock.h"
#include "platform/linux/LinuxJournalFile.h"
#include "platform/linux/ProcFsProcessQuery.h"
#include "platform/linux/ProcessCrontab.h"
#include "platform/qt/IniSettingsStore.h"
#include "schedule/CronEntry.h"
#include "schedule/CrontabEdit.h"
#include "schedule/SchedulerTexts.h"
#include "schedule/SchedulerWindowModel.h"
#include "schedule/WindowsCommands.h"
#include "tests/mail/LoopbackSmtpServer.h"
#include "tests/schedule/HostileNames.h"
#include "tests/support/XSession.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <iostream>
#include <unistd.h>

namespace zb {
namespace {

using namespace Qt::StringLiterals;

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

bool writeFile(const QString& path, const QByteArray& text, QFile::Permissions permissions)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        return false;
    f.close();
    return f.setPermissions(permissions);
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
    ~Child() { stop(); }
    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(3000)) {
            process.kill();
            process.waitForFinished();
        }
    }
};

// A file that is removed when the test ends.
struct Removed {
    QString path;
    ~Removed() { QFile::remove(path); }
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

// The first display number from `from` that no X server holds or has left
// its files for.
int unusedDisplay(int from)
{
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(from)) ||
           QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(from)))
        ++from;
    return from;
}

// One copy of the program: a link under its own name in a folder of its own,
// its settings in the test's settings file.
struct Copy {
    QString name;
    QString folder;
    QString program;
    QString stamp; // what its task writes
    QString journal;
};

Copy makeCopy(const QTemporaryDir& root, const QString& name, const QString& folderName,
              const QList<QPair<QString, QString>>& settings, const QString& probe)
{
    Copy c;
    c.name = name;
    c.folder = root.filePath(folderName);
    c.program = c.folder + QLatin1Char('/') + name;
    c.stamp = root.filePath(name + QStringLiteral(".stamp"));
    c.journal = root.filePath(QStringLiteral("state/ZB-SEQUENTA/") + name + QStringLiteral("-runs.log"));
    QDir().mkpath(c.folder + QStringLiteral("/BATS"));
    QDir().mkpath(c.folder + QStringLiteral("/LOGS"));
    QFile::link(QStringLiteral(ZB_PROGRAM_PATH), c.program);
    IniSettingsStore store(root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini")));
    store.beginBatch();
    for (const char* key : {"AUTOSTART_TICKBOX", "TASK_1_ENABLE_TICKBOX"})
        store.saveSetting(name, QLatin1String(key), QStringLiteral("1"));
    store.saveSetting(name, QStringLiteral("AlwaysOnTopTimer_TICKBOX"), QStringLiteral("0"));
    // A bare name: found only through the PATH the entry carries.
    store.saveSetting(name, QStringLiteral("TASK_1_CMD"), probe + QLatin1Char(' ') + c.stamp);
    for (const auto& [key, value] : settings)
        store.saveSetting(name, key, value);
    store.commitBatch();
    return c;
}

// Schedules the copy through its scheduled-task window, for the minute `at`
// on the days `pickDays` ticks; returns what the window then says.
QString scheduleThroughWindow(SettingsStore& store, const Copy& copy, const QDateTime& at, ProcessQuery& processes,
                              const std::function<void(SchedulerWindowModel&)>& pickDays)
{
    FakeExecutableInfo exe(copy.name, copy.folder);
    ProcessCrontab crontab(ProcessCrontab::findProgram());
    Settings settings(store, exe);
    SchedulerWindowModel window(settings, crontab, processes, exe);
    window.Form_Load();
    pickDays(window);
    window.TASK_RUN_TIME_TEXTBOX.edit(at.toString(QStringLiteral("HH:mm")));
    window.CREATE_TASK_BUTTON.click();
    window.OK_BUTTON.click();
    return window.TASK_STATUS_TEXTBOX.text() + QLatin1Char(' ') + window.SCHEDULE_HEALTH_TEXTBOX.text();
}

// Creates the copy's entry on the minute's weekday, on the display given.
QString createEntry(const Copy& copy, const QString& display, const QDateTime& at, const QTemporaryDir& root,
                    ProcessQuery& processes)
{
    qputenv("DISPLAY", display.toUtf8());
    IniSettingsStore windowStore(root.filePath(QStringLiteral("window.ini")));
    return scheduleThroughWindow(windowStore, copy, at, processes, [&](SchedulerWindowModel& window) {
        window.dayTicks[std::size_t(at.date().dayOfWeek() - 1)]->click();
    });
}

// The health line of the copy's window as it opens now.
QString healthNow(const Copy& copy, const QTemporaryDir& root, ProcessQuery& processes)
{
    IniSettingsStore windowStore(root.filePath(QStringLiteral("window.ini")));
    FakeExecutableInfo exe(copy.name, copy.folder);
    ProcessCrontab crontab(ProcessCrontab::findProgram());
    FileRunJournal journal(
        std::make_unique<LinuxJournalFile>(root.filePath(QStringLiteral("state/ZB-SEQUENTA")), copy.name));
    Settings settings(windowStore, exe);
    SchedulerWindowModel window(settings, crontab, processes, exe);
    window.setJournal(&journal);
    window.Form_Load();
    crontab.settle();
    return window.SCHEDULE_HEALTH_TEXTBOX.text();
}

// Seconds from `from` until the file was last written; -1 if it was not.
double secondsUntilWritten(const QDateTime& from, const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? from.msecsTo(info.lastModified()) / 1000.0 : -1;
}

// The loopback server's account, as the e-mail window stores it.
EmailSettings loopbackMail(const test::LoopbackSmtpServer& smtp, const QString& mailer)
{
    EmailSettings mail;
    mail.home = QFileInfo(mailer).absolutePath();
    mail.server = smtp.address();
    mail.user = QStringLiteral("zb");
    mail.password = QStringLiteral("secret");
    mail.from = QStringLiteral("zb@localhost");
    mail.to = QStringLiteral("night@localhost");
    return mail;
}

// The session the window records in the entries: a PATH and a locale that
// cron would not give, and folders of the test's own.
void useTestSession(const QTemporaryDir& root, const char* path)
{
    qputenv("PATH", path);
    qputenv("LANG", "C.UTF-8");
    qputenv("XDG_CONFIG_HOME", root.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_STATE_HOME", root.filePath(QStringLiteral("state")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", root.path().toUtf8());
    for (const char* unset : {"LC_ALL", "XAUTHORITY", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY"})
        qunsetenv(unset);
}

// Starts a cron daemon of the test's own.
void startCron(Child& cron, const QString& program)
{
    cron.process.start(program, {QStringLiteral("-f")});
    ASSERT_TRUE(cron.process.waitForStarted(5000));
    // cron tells a changed table by its time to the second: a table written
    // in the second cron read the tables at its start looks unchanged to it,
    // and the entries would never be read.
    QThread::msleep(1500);
}

TEST(CronStart, CronStartsEachCopyAtItsMinuteWithTheSessionItsWindowRecordedOrWithoutOne)
{
    const QString crontabProgram = ProcessCrontab::findProgram();
    const QString cron = findProgram(QStringLiteral("cron"));
    const QString xvfb = findProgram(QStringLiteral("Xvfb"));
    const QString mailer = findProgram(QStringLiteral("sendEmail"));
    if (geteuid() != 0 || crontabProgram.isEmpty() || cron.isEmpty() || xvfb.isEmpty() || mailer.isEmpty())
        GTEST_SKIP() << "needs root, cron, crontab, Xvfb and sendEmail: this machine cannot run a real scheduled start";
    const test::LoopbackSmtpServer smtp(QStringLiteral("zb"), QStringLiteral("secret"));
    if (smtp.port() == 0)
        GTEST_SKIP() << "no loopback SMTP server: " << smtp.error().toStdString();

    int argc = 1;
    char name[] = "zb_cron_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    QFile::setPermissions(root.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // Copy A's display lives. Copy B's answers nobody at the minute: a
    // number far above those the suite's servers pick (they take the lowest
    // free one), so that no other test's server can take it meanwhile.
    const test::XSession xA(test::XSession::Options{.windowManager = {}});
    ASSERT_TRUE(xA.ok()) << xA.error().toStdString();
    const QString& displayA = xA.display();
    const QString displayB = QStringLiteral(":%1").arg(unusedDisplay(900 + getpid() % 100));

    // The task's program, only in /usr/local/bin: it writes its display and
    // locale into the file it is given.
    const QString probe = QStringLiteral("zb-cron-probe-%1").arg(getpid());
    const Removed probeFile{QStringLiteral("/usr/local/bin/") + probe};
    ASSERT_TRUE(writeFile(probeFile.path, "#!/bin/sh\necho \"DISPLAY=$DISPLAY LANG=$LANG\" > \"$1\"\n",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));

    const Copy a = makeCopy(root, QStringLiteral("zb-cron-a-%1").arg(getpid()), QStringLiteral("it's 100% \\\\%done"),
                            {{QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("1")}}, probe);
    const Copy b = makeCopy(root, QStringLiteral("zb-cron-b-%1").arg(getpid()), QStringLiteral("b $(windowless)"),
                            {{QStringLiteral("AUTOCLOSE_TICKBOX"), QStringLiteral("0")},
                             {QStringLiteral("START_EMAIL_TICKBOX"), QStringLiteral("1")},
                             {QStringLiteral("END_EMAIL_TICKBOX"), QStringLiteral("1")}},
                            probe);
    // B's e-mail scripts, as its e-mail window writes them.
    const EmailSettings mail = loopbackMail(smtp, mailer);
    for (const auto& [suffix, subject] : {std::pair{"-START-EMAIL.sh", startEmailSubject(b.name)},
                                          std::pair{"-END-EMAIL.sh", endEmailSubject(b.name)}}) {
        const QString command = buildSendEmailCommand(mail, subject, {b.folder, b.name}, CommandProfile::PosixShell);
        ASSERT_TRUE(writeFile(b.folder + QStringLiteral("/BATS/") + b.name + QLatin1String(suffix),
                              command.toUtf8() + '\n', QFile::ReadOwner | QFile::WriteOwner));
    }

    useTestSession(root, "/usr/local/bin:/usr/bin:/bin");

    SavedCrontab saved(crontabProgram);
    ProcFsProcessQuery processes;
    Child ourCron;
    if (processes.isProcessRunning(QStringLiteral("cron")) != ProcessPresence::Running) {
        ASSERT_NO_FATAL_FAILURE(startCron(ourCron, cron));
    }

    // The next minute that leaves cron time to see the new table.
    QDateTime at = QDateTime::currentDateTime().addSecs(60);
    if (at.time().second() >= 45)
        at = at.addSecs(60);
    at.setTime(QTime(at.time().hour(), at.time().minute()));
    const QString nextStart =
        QStringLiteral("Next start: ") + QLocale::c().toString(at, QStringLiteral("ddd yyyy-MM-dd HH:mm"));

    EXPECT_EQ(createEntry(a, displayA, at, root, processes), text::kTaskCreated + QLatin1Char(' ') + nextStart);
    EXPECT_EQ(createEntry(b, displayB, at, root, processes), text::kTaskCreated + QLatin1Char(' ') + nextStart);

    // The probes in hostile folders, for the same minute.
    QByteArray table;
    ASSERT_EQ(runToEnd(crontabProgram, {QStringLiteral("-l")}, {}, &table), 0);
    EXPECT_TRUE(table.startsWith(saved.table())) << "root's own lines come first, untouched";
    EXPECT_TRUE(table.contains("PATH='/usr/local/bin:/usr/bin:/bin' LANG='C.UTF-8'")) << table.toStdString();
    const QStringList hostile = test::hostileFolderNames();
    for (int i = 0; i < hostile.size(); ++i) {
        const QString folder = root.filePath(QStringLiteral("hostile/") + hostile[i]);
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(test::writeProbe(folder + QStringLiteral("/probe")));
        const QString task = schedule::taskName(QStringLiteral("zb-cron-probe-%1-%2").arg(i).arg(getpid()));
        const auto line =
            schedule::composeEntry({at.time().minute(), at.time().hour(), 0},
                                   {{QStringLiteral("ZB_PROBE_OUT"), root.filePath(QStringLiteral("probe-%1").arg(i))},
                                    {QStringLiteral("ZB_PROBE_VALUE"), hostile[i]}},
                                   folder + QStringLiteral("/probe"), task);
        ASSERT_TRUE(line.error.isEmpty()) << line.error.toStdString();
        table = schedule::withEntry(table, schedule::entryMarker(task), line.line);
    }
    ASSERT_EQ(runToEnd(crontabProgram, {QStringLiteral("-")}, table), 0);
    ASSERT_LT(QDateTime::currentDateTime(), at.addSecs(-5)) << "the entries came too late for this minute";

    // Started at the minute, the chains write their stamps some 12 s later;
    // each autoclose ends its run about 30 s after that.
    QDeadlineTimer stamped(QDateTime::currentDateTime().msecsTo(at) + 45'000);
    while (!stamped.hasExpired() && !(QFile::exists(a.stamp) && QFile::exists(b.stamp)))
        QThread::msleep(250);
    EXPECT_EQ(readText(a.stamp).toStdString(), QStringLiteral("DISPLAY=%1 LANG=C.UTF-8\n").arg(displayA).toStdString())
        << "cron did not start copy A, or its task did not run:\n"
        << readText(a.journal).toStdString();
    EXPECT_EQ(readText(b.stamp).toStdString(), QStringLiteral("DISPLAY=%1 LANG=C.UTF-8\n").arg(displayB).toStdString())
        << "cron did not start copy B, or its task did not run:\n"
        << readText(b.journal).toStdString();

    QDeadlineTimer closed(60'000);
    while (!closed.hasExpired() && (processStartedAs(a.program) != 0 || processStartedAs(b.program) != 0))
        QThread::msleep(250);
    const QDateTime allClosed = QDateTime::currentDateTime();
    for (const Copy* c : {&a, &b})
        if (const pid_t left = processStartedAs(c->program); left != 0) {
            kill(left, SIGTERM);
            ADD_FAILURE() << c->name.toStdString() << " did not close by itself";
        }

    ASSERT_TRUE(xA.serverRunning()) << "copy A's X server ended before its pass";
    // Each pass is in History, as started by the schedule.
    const struct {
        const Copy& copy;
        const char* how;
    } passes[] = {{a, "By schedule"}, {b, "By schedule, without a window"}};
    for (const auto& p : passes) {
        const QList<HistoryPass> history = historyFromJournal(readText(p.copy.journal).split(QLatin1Char('\n')));
        ASSERT_EQ(history.size(), 1) << readText(p.copy.journal).toStdString();
        EXPECT_EQ(history[0].how.toStdString(), p.how) << readText(p.copy.journal).toStdString();
        EXPECT_EQ(history[0].result.toStdString(), "COMPLETED SUCCESSFULLY");
    }
    const QList<QJsonObject> messages = smtp.waitForMessages(2, 15'000);
    QStringList subjects;
    for (const QJsonObject& m : messages)
        subjects << m.value(QStringLiteral("subject")).toString();
    subjects.sort();
    EXPECT_EQ(subjects, (QStringList{endEmailSubject(b.name), startEmailSubject(b.name)}));
    // Looked at from the session copy A's entry was made in.
    qputenv("DISPLAY", displayA.toUtf8());
    EXPECT_EQ(
        healthNow(a, root, processes).toStdString(),
        (QStringLiteral("Next start: ") + QLocale::c().toString(at.addDays(7), QStringLiteral("ddd yyyy-MM-dd HH:mm")) +
         QStringLiteral(". Last scheduled start: ") +
         QLocale::c().toString(at, QStringLiteral("ddd yyyy-MM-dd HH:mm")) + QStringLiteral(", COMPLETED SUCCESSFULLY"))
            .toStdString());

    // Every byte of each hostile folder and value reached its probe.
    for (int i = 0; i < hostile.size(); ++i) {
        const QString program = root.filePath(QStringLiteral("hostile/") + hostile[i]) + QStringLiteral("/probe");
        EXPECT_EQ(readText(root.filePath(QStringLiteral("probe-%1").arg(i))).toStdString(),
                  (program + QLatin1Char('\n') + hostile[i] + QStringLiteral("\n1\n")).toStdString())
            << hostile[i].toStdString();
    }

    // The figures of the closing note.
    const auto firstLineTime = [](const QString& journal) {
        return QDateTime::fromString(readText(journal).section(QLatin1Char(' '), 0, 0), Qt::ISODate);
    };
    std::cout << "cron minute " << at.toString(Qt::ISODate).toStdString() << "\n";
    for (const Copy* c : {&a, &b})
        std::cout << c->name.toStdString() << ": started " << at.secsTo(firstLineTime(c->journal))
                  << " s after the minute, task ran at " << secondsUntilWritten(at, c->stamp) << " s\n";
    double lastProbe = 0;
    for (int i = 0; i < hostile.size(); ++i)
        lastProbe = std::max(lastProbe, secondsUntilWritten(at, root.filePath(QStringLiteral("probe-%1").arg(i))));
    std::cout << hostile.size() << " hostile-name probes all written by " << lastProbe << " s; both copies closed by "
              << at.msecsTo(allClosed) / 1000.0 << " s after the minute\n";
}

// Cron's mark that its @reboot lines ran since the system started.
const QString kCronRebootFlag = QStringLiteral("/run/crond.reboot");

// Puts cron's reboot flag back as the test found it.
struct RebootFlag {
    bool had = QFile::exists(kCronRebootFlag);
    ~RebootFlag()
    {
        if (!had)
            QFile::remove(kCronRebootFlag);
        else if (QFile flag(kCronRebootFlag); !flag.exists())
            flag.open(QIODevice::WriteOnly);
    }
};

// Whether a restart of cron would run an @reboot line that is not the test's:
// root's table as found, the system's tables, other users'.
bool foreignBootLines(const QByteArray& rootTable)
{
    QString all = QString::fromUtf8(rootTable) + readText(QStringLiteral("/etc/crontab"));
    for (const QString& dir : {QStringLiteral("/etc/cron.d"), QStringLiteral("/var/spool/cron/crontabs")})
        for (const QString& file : QDir(dir).entryList(QDir::Files))
            if (file != QLatin1String("root") || !dir.startsWith(QLatin1String("/var")))
                all += QLatin1Char('\n') + readText(dir + QLatin1Char('/') + file);
    return all.contains(QRegularExpression(QStringLiteral("^\\s*@reboot"), QRegularExpression::MultilineOption));
}

int lineCount(const QString& path) { return int(readText(path).count(QLatin1Char('\n'))); }

// A copy's slots set as a person sets them: the switches in its main window,
// which stores them as it closes; commands and guards in a task editor.
struct MainWindowOf {
    MainWindowOf(SettingsStore& store, const Copy& copy) : exe(copy.name, copy.folder), settings(store, exe)
    {
        main.Form_Load();
    }
    ~MainWindowOf() { main.Form_Unload(); }
    // Slot 1 held by P-4-P, slot 2 run after it.
    void holdOnOneAndRunTwo() { main.TASK_PAUSE_TICKBOX[1].click(), main.TASK_ENABLE_TICKBOX[2].click(); }
    SimulatedClock clock;
    FakeExecutableInfo exe;
    Settings settings;
    MainWindowModel main{clock, settings};
};

TEST(CronStart, GuardsHoldInACronMinuteAndAMissedStartIsCaughtUpOnceAtBoot)
{
    const QString crontabProgram = ProcessCrontab::findProgram();
    const QString cron = findProgram(QStringLiteral("cron"));
    const QString mailer = findProgram(QStringLiteral("sendEmail"));
    if (geteuid() != 0 || crontabProgram.isEmpty() || cron.isEmpty() || mailer.isEmpty())
        GTEST_SKIP() << "needs root, cron, crontab and sendEmail: this machine cannot run a real scheduled start";
    const test::LoopbackSmtpServer smtp(QStringLiteral("zb"), QStringLiteral("secret"));
    if (smtp.port() == 0)
        GTEST_SKIP() << "no loopback SMTP server: " << smtp.error().toStdString();
    int argc = 1;
    char name[] = "zb_cron_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());

    // The tasks: a probe that adds a line to its file at every run, a task
    // that hangs, deaf to SIGTERM (and tells its pid), one that fails after
    // two seconds.
    const QString probe = root.filePath(QStringLiteral("probe"));
    const QString hang = root.filePath(QStringLiteral("zb-hang"));
    const QString fail = root.filePath(QStringLiteral("zb-fail"));
    const auto runnable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    ASSERT_TRUE(writeFile(probe, "#!/bin/sh\necho ran >> \"$1\"\n", runnable));
    ASSERT_TRUE(writeFile(hang, "#!/bin/sh\ntrap '' TERM\necho $$ > \"$1\"\nwhile :; do sleep 1; done\n", runnable));
    ASSERT_TRUE(writeFile(fail, "#!/bin/sh\nsleep 2\nexit 3\n", runnable));

    // Every copy runs without a window: its display answers nobody.
    qputenv("DISPLAY", QStringLiteral(":%1").arg(unusedDisplay(900 + getpid() % 100)).toUtf8());
    useTestSession(root, "/usr/bin:/bin");

    const auto copy = [&](const char* row, const QList<QPair<QString, QString>>& settings = {}) {
        const QString n = QStringLiteral("zb-%1-%2").arg(QLatin1String(row)).arg(getpid());
        return makeCopy(root, n, n, settings, probe);
    };
    const Copy limit = copy("limit", {{QStringLiteral("END_EMAIL_TICKBOX"), QStringLiteral("1")}});
    const Copy failing = copy("fail");
    const Copy today = copy("today");
    const Copy otherDays = copy("other-days");
    const Copy boot = copy("boot");
    const QString hangPid = root.filePath(QStringLiteral("hang.pid"));
    const QString endMail = buildSendEmailCommand(loopbackMail(smtp, mailer), endEmailSubject(limit.name),
                                                  {limit.folder, limit.name}, CommandProfile::PosixShell);
    ASSERT_TRUE(writeFile(limit.folder + QStringLiteral("/BATS/") + limit.name + QStringLiteral("-END-EMAIL.sh"),
                          endMail.toUtf8() + '\n', QFile::ReadOwner | QFile::WriteOwner));

    IniSettingsStore store(root.filePath(QStringLiteral("config/ZB-SEQUENTA/ZB-SEQUENTA.ini")));
    {
        // A hung task held by P-4-P, limited to six seconds and stopped then.
        MainWindowOf w(store, limit);
        FakeFileDialog files;
        SingleTaskSettingsWindowModel single(w.settings, w.main, nullptr, files, w.exe);
        single.Form_Load();
        single.TASK_1_CMD_TEXTBOX.edit(hang + QLatin1Char(' ') + hangPid);
        single.TASK_1_PROCESS_NAME_TEXTBOX.edit(QStringLiteral("zb-hang"));
        single.guards.TIME_LIMIT_TEXTBOX.edit(QStringLiteral("0.1"));
        single.guards.TIME_LIMIT_STOP_TICKBOX.click();
        single.SAVE_BUTTON.click();
        single.TASK_LOAD_BUTTON[2].click();
        single.TASK_1_CMD_TEXTBOX.edit(probe + QLatin1Char(' ') + limit.stamp);
        single.SAVE_BUTTON.click();
        single.OK_BUTTON.click();
        w.holdOnOneAndRunTwo();
    }
    {
        // A failing task held by P-4-P whose failure stops the chain.
        MainWindowOf w(store, failing);
        AllTaskSettingsWindowModel all(w.settings, w.main);
        all.Form_Load();
        all.TASK_CMD_TEXTBOX[1].edit(fail);
        all.TASK_PROCESS_NAME_TEXTBOX[1].edit(QStringLiteral("zb-fail"));
        all.guards[1].STOP_ON_FAILURE_TICKBOX.click();
        all.TASK_CMD_TEXTBOX[2].edit(probe + QLatin1Char(' ') + failing.stamp);
        all.SAVE_BUTTON.click();
        all.CANCEL_BUTTON.click();
        w.holdOnOneAndRunTwo();
    }

    SavedCrontab saved(crontabProgram);
    const RebootFlag rebootFlag;
    ProcFsProcessQuery processes;
    Child ourCron;
    if (processes.isProcessRunning(QStringLiteral("cron")) != ProcessPresence::Running) {
        ASSERT_NO_FATAL_FAILURE(startCron(ourCron, cron));
    }
    // Cron runs @reboot lines as it starts without its flag. Ours is restarted
    // so; a cron we did not start, or one that would run other people's boot
    // lines, is left alone: the test then runs the exact command of each of
    // its own @reboot lines as cron would.
    const bool realBoot = ourCron.process.state() == QProcess::Running && !foreignBootLines(saved.table());
    const auto bootMachine = [&] {
        if (realBoot) {
            ourCron.stop();
            QFile::remove(kCronRebootFlag);
            return startCron(ourCron, cron);
        }
        QByteArray table;
        ASSERT_EQ(runToEnd(crontabProgram, {QStringLiteral("-l")}, {}, &table), 0);
        // Nothing but the environment cron gives.
        const QStringList asCron =
            u"-i HOME=%1 LOGNAME=root PATH=/usr/bin:/bin SHELL=/bin/sh /bin/sh -c"_s.arg(QDir::homePath()).split(u' ');
        for (const QByteArray& line : table.split('\n'))
            if (line.startsWith("@reboot ") && line.contains(root.path().toUtf8())) {
                ASSERT_TRUE(QProcess::startDetached(QStringLiteral("/usr/bin/env"),
                                                    asCron + QStringList{QString::fromUtf8(line.mid(8))}));
            }
    };
    std::cout << (realBoot ? "boots: cron restarted without its reboot flag\n"
                           : "boots: the @reboot commands run as cron runs them (cron is not ours to restart)\n");

    QDateTime at = QDateTime::currentDateTime().addSecs(60);
    if (at.time().second() >= 40)
        at = at.addSecs(60);
    at.setTime(QTime(at.time().hour(), at.time().minute()));
    const auto startText = [](const QDateTime& t) {
        return QStringLiteral("Next start: ") + QLocale::c().toString(t, QStringLiteral("ddd yyyy-MM-dd HH:mm"));
    };
    const int todayIndex = at.date().dayOfWeek() - 1;
    const auto onlyToday = [&](SchedulerWindowModel& w) { w.dayTicks[std::size_t(todayIndex)]->click(); };
    // Working days hold today on a weekday; on a weekend the weekend does.
    const auto daysWithToday = [&](SchedulerWindowModel& w) {
        if (todayIndex < 5)
            return w.WORKING_DAYS_BUTTON.click();
        w.SAT_TICKBOX.click();
        w.SUN_TICKBOX.click();
    };
    const auto allButToday = [&](SchedulerWindowModel& w) {
        for (int d = 0; d < 7; ++d)
            if (d != todayIndex)
                w.dayTicks[std::size_t(d)]->click();
    };
    const auto withCatchUp = [&](SchedulerWindowModel& w) {
        onlyToday(w);
        w.CATCH_UP_TICKBOX.click();
    };
    const struct {
        const Copy& copy;
        std::function<void(SchedulerWindowModel&)> days;
        QString says;
    } entries[] = {
        {limit, onlyToday, startText(at)},
        {failing, onlyToday, startText(at)},
        {today, daysWithToday, startText(at)},
        {otherDays, allButToday, startText(at.addDays(1))},
        {boot, withCatchUp,
         startText(at) + QStringLiteral(". At boot it runs a start that the machine missed: the last one planned, if "
                                        "no pass ran after it, even on a day the entry leaves out")},
    };
    for (const auto& e : entries)
        EXPECT_EQ(scheduleThroughWindow(store, e.copy, at, processes, e.days).toStdString(),
                  (text::kTaskCreated + QLatin1Char(' ') + e.says).toStdString());
    // A probe of the boots themselves.
    const QString boots = root.filePath(QStringLiteral("boots"));
    QByteArray table;
    ASSERT_EQ(runToEnd(crontabProgram, {QStringLiteral("-l")}, {}, &table), 0);
    EXPECT_TRUE(todayIndex >= 5 || table.contains(" * * 1-5 ")) << table.toStdString();
    table =
        schedule::withEntry(table, "# zb-boot-probe", "@reboot echo boot >> " + boots.toUtf8() + " # zb-boot-probe");
    ASSERT_EQ(runToEnd(crontabProgram, {QStringLiteral("-")}, table), 0);
    // The boot copy's machine is off at the minute: its program is not there.
    QFile::remove(boot.program);
    ASSERT_LT(QDateTime::currentDateTime(), at.addSecs(-5)) << "the entries came too late for this minute";

    QThread::msleep(std::max<qint64>(0, QDateTime::currentDateTime().msecsTo(at.addSecs(3))));
    ASSERT_TRUE(QFile::link(QStringLiteral(ZB_PROGRAM_PATH), boot.program));
    bootMachine();
    QDeadlineTimer stamped(QDateTime::currentDateTime().msecsTo(at) + 50'000);
    while (!stamped.hasExpired() && !(QFile::exists(limit.stamp) && QFile::exists(today.stamp) &&
                                      QFile::exists(boot.stamp) && QFile::exists(failing.journal)))
        QThread::msleep(250);
    // The caught-up start is journaled: a second boot leaves the copy's chain be.
    bootMachine();
    const Copy* const all[] = {&limit, &failing, &today, &otherDays, &boot};
    QDeadlineTimer closed(60'000);
    const auto anyRuns = [&] {
        return std::any_of(std::begin(all), std::end(all), [](const Copy* c) { return processStartedAs(c->program); });
    };
    while (!closed.hasExpired() && (anyRuns() || lineCount(boots) < 2))
        QThread::msleep(250);
    for (const Copy* c : all)
        if (const pid_t left = processStartedAs(c->program); left != 0) {
            kill(left, SIGTERM);
            ADD_FAILURE() << c->name.toStdString() << " did not close by itself";
        }
    const auto passesOf = [](const Copy& c) {
        return historyFromJournal(readText(c.journal).split(QLatin1Char('\n')));
    };

    // The hung task: timed out at its limit, killed ten seconds after the
    // SIGTERM it ignored; the chain went on and the end e-mail tells it.
    const QList<HistoryPass> limited = passesOf(limit);
    ASSERT_EQ(limited.size(), 1) << readText(limit.journal).toStdString();
    EXPECT_EQ(limited[0].result.toStdString(), "COMPLETED WITH ERRORS - TASK 1 TIMED OUT");
    const QString& stopped = limited[0].slots.value(0).outcome;
    EXPECT_TRUE(stopped.startsWith(QLatin1String("killed by signal 9 after")) &&
                stopped.endsWith(QLatin1String("; wait timed out after 0:00:06, SIGTERM sent, SIGKILL sent")))
        << stopped.toStdString();
    EXPECT_EQ(lineCount(limit.stamp), 1);
    const pid_t hung = readText(hangPid).trimmed().toInt();
    ASSERT_GT(hung, 0);
    EXPECT_NE(kill(hung, 0), 0) << "the hung task still runs";
    if (kill(hung, 0) == 0)
        kill(-hung, SIGKILL);
    const QList<QJsonObject> messages = smtp.waitForMessages(1, 15'000);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages[0].value(QStringLiteral("subject")).toString(), endEmailSubjectFor(limit.name, false));
    EXPECT_TRUE(messages[0].value(QStringLiteral("body")).toString().contains(QLatin1String("TASK 1 TIMED OUT")))
        << messages[0].value(QStringLiteral("body")).toString().toStdString();

    // The failing task stopped the chain: slot 2 never ran, and says why.
    const QList<HistoryPass> failed = passesOf(failing);
    ASSERT_EQ(failed.size(), 1) << readText(failing.journal).toStdString();
    EXPECT_FALSE(QFile::exists(failing.stamp));
    EXPECT_EQ(failed[0].slots.value(1).outcome.toStdString(), "skipped: task 1 failed");
    EXPECT_TRUE(failed[0].result.startsWith(text::kCompletedWithErrors)) << failed[0].result.toStdString();

    // Only the entry whose days hold today ran.
    EXPECT_EQ(lineCount(today.stamp), 1);
    EXPECT_FALSE(QFile::exists(otherDays.stamp));
    EXPECT_TRUE(readText(otherDays.journal).isEmpty()) << readText(otherDays.journal).toStdString();

    // Two boots after the missed minute: one caught-up pass.
    EXPECT_EQ(lineCount(boots), 2) << "cron did not run its @reboot lines twice";
    EXPECT_EQ(lineCount(boot.stamp), 1);
    const QList<HistoryPass> caughtUp = passesOf(boot);
    ASSERT_EQ(caughtUp.size(), 1) << readText(boot.journal).toStdString();
    EXPECT_EQ(caughtUp[0].how.toStdString(), "By schedule, without a window, caught up, planned for " +
                                                 at.toString(u"yyyy-MM-dd HH:mm"_s).toStdString());
}

} // namespace
} // namespace zb
