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
    // `folder` holds the lock files (see lockFolderFor()); `fallback` does
    // where that folder cannot hold files at all. A folder that is unsafe
    // refuses the claim and has no fallback.
    explicit LinuxSingleInstance(QString folder, QString fallback = {});
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

    QString refusal() const override { return refusal_; }

    // The lock folder of the copies that keep their settings in
    // `settingsFile`: beside it, in the user's own configuration folder. Two
    // starts of one copy always meet there, whatever the session (a login or
    // logout changes nothing), and no other user can make or hold it.
    static QString lockFolderFor(const QString& settingsFile);

private:
    bool claimIn(const QString& name);
    QString lockPathOf(const QString& name) const;
    static QString lockPathIn(const QString& folder, const QString& name);
    static bool heldIn(const QString& folder, const QString& name);
    void listen();
    void acceptRequest();

    QString folder_;
    QString fallback_;
    bool unusable_ = false;
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
