#pragma once

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace zb::test {

// The loopback SMTP server of tests/mail/smtp_server.py, run by the
// system's Python (another one may come first on PATH): AUTH LOGIN and
// PLAIN without TLS for one login, on a free port. Each message it accepts
// is one JSON object.
class LoopbackSmtpServer {
public:
    LoopbackSmtpServer(const QString& user, const QString& password)
    {
        messages_ = dir_.filePath(QStringLiteral("messages.jsonl"));
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        // The password in the environment: no command line shows it.
        process_.setEnvironment(QProcess::systemEnvironment() << QStringLiteral("ZB_SMTP_PASSWORD=") + password);
        process_.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral(ZB_SMTP_SERVER_SCRIPT), messages_, user});
        QDeadlineTimer deadline(15'000);
        QByteArray out;
        while (!deadline.hasExpired() && !out.contains('\n') && process_.state() != QProcess::NotRunning) {
            process_.waitForReadyRead(200);
            out += process_.readAllStandardOutput();
        }
        if (out.startsWith("PORT "))
            port_ = out.mid(5).trimmed().toInt();
        else
            error_ = QString::fromUtf8(out + process_.readAllStandardError());
    }
    ~LoopbackSmtpServer()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }

    // 0 when the server did not come up (error() says why).
    int port() const { return port_; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }
    const QString& error() const { return error_; }

    QList<QJsonObject> messages() const
    {
        QList<QJsonObject> out;
        QFile f(messages_);
        if (!f.open(QIODevice::ReadOnly))
            return out;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (!line.isEmpty())
                out << QJsonDocument::fromJson(line).object();
        return out;
    }
    // Waits until at least n messages have come in, or the time is up.
    QList<QJsonObject> waitForMessages(int n, int ms) const
    {
        QDeadlineTimer deadline(ms);
        while (messages().size() < n && !deadline.hasExpired())
            QThread::msleep(50);
        return messages();
    }

private:
    QTemporaryDir dir_;
    QString messages_;
    QProcess process_;
    int port_ = 0;
    QString error_;
};

} // namespace zb::test
