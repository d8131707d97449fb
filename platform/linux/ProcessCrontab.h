#pragma once

#include "platform/Crontab.h"

#include <QList>
#include <memory>

class QProcess;

namespace zb {

// The user's crontab through the crontab program: `crontab -l` reads it,
// `crontab -` replaces it from standard input. Each call runs the program
// as a child process watched by the event loop, stopped after timeoutMs.
class ProcessCrontab : public Crontab {
public:
    explicit ProcessCrontab(QString program, int timeoutMs = 10'000);
    ~ProcessCrontab() override;

    QString programPath() const override { return program_; }
    void read(Done done) override;
    void write(const QByteArray& table, Done done) override;
    void settle() override;
    QList<EnvAssignment> sessionEnvironment() const override;
    QStringList daemonNames() const override;

    // The crontab program on PATH, or empty.
    static QString findProgram();

private:
    struct Job;
    void run(const QStringList& args, const QByteArray& input, bool reading, Done done);

    QString program_;
    int timeoutMs_;
    QList<std::shared_ptr<Job>> running_;
};

} // namespace zb
