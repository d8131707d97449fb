#pragma once

#include "platform/SingleInstance.h"

class QSocketNotifier;

namespace zb {

// The claim is an flock on a file named after the copy in the user's lock
// folder; the kernel drops it when the process dies. It fails closed: a lock
// that is a link or not a plain file of ours, or a folder that is not ours
// and private, refuses the claim with the reason. The holder writes its
// pid into the file and listens on a Unix socket beside it for requests to
// come to the front.
class LinuxSingleInstance : public SingleInstance {
public:
    // `folder` holds the lock files; see runtimeFolder().
    explicit LinuxSingleInstance(QString folder);
    ~LinuxSingleInstance() override;
    LinuxSingleInstance(const LinuxSingleInstance&) = delete;
    LinuxSingleInstance& operator=(const LinuxSingleInstance&) = delete;

    bool claim(const QString& name) override;
    qint64 runningPid() const override { return runningPid_; }
    bool askRunningToActivate() override;
    void onActivationRequest(std::function<void()> handler) override;

    QString refusal() const override { return refusal_; }

    // The one lock folder of this user: <runUser>/<uid>/ZB-SEQUENTA when
    // the user's runtime folder exists, else <temporary>/ZB-SEQUENTA-<uid>;
    // the same whatever the environment. claim() makes it and refuses to run
    // when it is not a private folder of this user's.
    static QString runtimeFolder(const QString& runUser = QStringLiteral("/run/user"),
                                 const QString& temporary = QStringLiteral("/tmp"));

private:
    void listen();
    void acceptRequest();

    QString folder_;
    QString lockPath_;
    QString socketPath_;
    int lockFd_ = -1;
    int listenFd_ = -1;
    qint64 runningPid_ = 0;
    QString refusal_;
    QSocketNotifier* notifier_ = nullptr;
    std::function<void()> handler_;
};

} // namespace zb
