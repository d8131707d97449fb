#include "ProcessCrontab.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <utility>

namespace zb {

namespace {

// `crontab -l` fails this way for a user who has no table yet.
bool saysNoCrontab(const QByteArray& err) { return err.startsWith("no crontab for "); }

QString messageOf(const QByteArray& err, const QString& fallback)
{
    const QString text = QString::fromLocal8Bit(err).trimmed();
    return text.isEmpty() ? fallback : text;
}

} // namespace

// One running crontab call. It reports once, whichever comes first: its
// end, a failure to start, or its time limit.
struct ProcessCrontab::Job {
    QProcess* process = nullptr;
    Done done;
};

ProcessCrontab::ProcessCrontab(QString program, int timeoutMs) : program_(std::move(program)), timeoutMs_(timeoutMs) {}

ProcessCrontab::~ProcessCrontab() { settle(); }

QString ProcessCrontab::findProgram() { return QStandardPaths::findExecutable(QStringLiteral("crontab")); }

void ProcessCrontab::read(Done done) { run({QStringLiteral("-l")}, {}, true, std::move(done)); }

void ProcessCrontab::write(const QByteArray& table, Done done)
{
    run({QStringLiteral("-")}, table, false, std::move(done));
}

void ProcessCrontab::run(const QStringList& args, const QByteArray& input, bool reading, Done done)
{
    if (program_.isEmpty()) {
        done({false,
              {},
              QStringLiteral("The crontab program is not installed on this machine (on Debian: apt install cron).")});
        return;
    }
    auto job = std::make_shared<Job>();
    job->process = new QProcess;
    job->done = std::move(done);
    QProcess* process = job->process;
    auto finish = [this, job](const CrontabResult& result) {
        if (!job->done)
            return;
        const Done callback = std::exchange(job->done, nullptr);
        running_.removeAll(job);
        job->process->deleteLater();
        callback(result);
    };
    QObject::connect(
        process, &QProcess::finished, process, [process, reading, finish](int code, QProcess::ExitStatus status) {
            const QByteArray out = process->readAllStandardOutput();
            const QByteArray err = process->readAllStandardError();
            if (status == QProcess::NormalExit && code == 0)
                finish({true, reading ? out : QByteArray(), {}});
            else if (reading && status == QProcess::NormalExit && saysNoCrontab(err))
                finish({true, {}, {}});
            else
                finish({false, {}, messageOf(err, QStringLiteral("crontab failed (exit status %1).").arg(code))});
        });
    QObject::connect(process, &QProcess::errorOccurred, process, [this, process, finish](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            finish({false, {}, QStringLiteral("%1 could not be started: %2").arg(program_, process->errorString())});
    });
    auto* timer = new QTimer(process);
    timer->setSingleShot(true);
    const QString limit = QStringLiteral("crontab did not answer within %1 seconds.").arg(timeoutMs_ / 1000.0);
    QObject::connect(timer, &QTimer::timeout, process, [process, finish, limit] {
        finish({false, {}, limit});
        process->kill();
        process->waitForFinished(1000);
    });
    running_.append(job);
    timer->start(timeoutMs_);
    process->start(program_, args);
    if (!reading && process->waitForStarted(timeoutMs_))
        process->write(input);
    process->closeWriteChannel();
}

void ProcessCrontab::settle()
{
    while (!running_.isEmpty()) {
        const std::shared_ptr<Job> job = running_.first();
        if (job->process->state() == QProcess::NotRunning && job->done) {
            const Done callback = std::exchange(job->done, nullptr);
            running_.removeAll(job);
            job->process->deleteLater();
            callback(
                {false, {}, QStringLiteral("%1 could not be started: %2").arg(program_, job->process->errorString())});
        } else if (!job->process->waitForFinished(timeoutMs_) && job->done) {
            const Done callback = std::exchange(job->done, nullptr);
            running_.removeAll(job);
            job->process->kill();
            job->process->waitForFinished(1000);
            job->process->deleteLater();
            callback({false, {}, QStringLiteral("crontab did not answer within %1 seconds.").arg(timeoutMs_ / 1000.0)});
        }
        running_.removeAll(job);
    }
}

QList<EnvAssignment> ProcessCrontab::sessionEnvironment() const
{
    QList<EnvAssignment> out;
    // The session's display and bus; the settings and journal folders, so
    // that the started copy reads these settings and journals where History
    // looks; the command search path and locale, which cron replaces with
    // PATH=/usr/bin:/bin and none, so that a task that runs by hand runs
    // from cron.
    for (const char* name : {"DISPLAY", "XAUTHORITY", "XDG_RUNTIME_DIR", "DBUS_SESSION_BUS_ADDRESS", "XDG_CONFIG_HOME",
                             "XDG_STATE_HOME", "PATH", "LANG", "LC_ALL"}) {
        const QString value = qEnvironmentVariable(name);
        if (!value.isEmpty())
            out.append({QLatin1String(name), value});
    }
    return out;
}

QStringList ProcessCrontab::daemonNames() const { return {QStringLiteral("cron"), QStringLiteral("crond")}; }

} // namespace zb
