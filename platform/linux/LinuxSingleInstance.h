#pragma once

#include "platform/SingleInstance.h"

class QSocketNotifier;

namespace zb {

// The claim is an flock on a file named after the copy in the user's runtime
// folder; the kernel drops it when the process dies. The holder writes its
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
    // The kernel's list of locks (/proc/locks) tells whether the name's lock
    // file is held; nothing is locked to ask.
    bool runs(const QString& name) const override;
    bool askRunningToActivate() override;
    void onActivationRequest(std::function<void()> handler) override;

    // $XDG_RUNTIME_DIR/ZB-SEQUENTA, or, without it, a folder of this user's
    // own in the temporary folder; made when missing. Empty when no folder
    // that only this user can write is to be had.
    static QString runtimeFolder();

private:
    QString lockPathOf(const QString& name) const;
    void listen();
    void acceptRequest();

    QString folder_;
    QString lockPath_;
    QString socketPath_;
    int lockFd_ = -1;
    int listenFd_ = -1;
    qint64 runningPid_ = 0;
    QSocketNotifier* notifier_ = nullptr;
    std::function<void()> handler_;
};

} // namespace zb
