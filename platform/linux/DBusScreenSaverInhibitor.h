#pragma once

#include "platform/ScreenSaverInhibitor.h"

#include <QDBusPendingCall>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>

class QDBusServiceWatcher;
class QDBusMessage;

namespace zb {

// Keeps the session awake through the session bus: the freedesktop
// ScreenSaver service (org.freedesktop.ScreenSaver Inhibit and UnInhibit)
// where it runs, else the desktop portal (org.freedesktop.portal.Inhibit,
// idle; given back by closing its request). Nothing waits for an answer.
// Both services are followed as they come and go: an inhibition is dropped
// with the service that held it and taken again from whichever answers next;
// the screensaver service, when it appears, takes over from the portal. A
// held inhibition is given back on release and on destruction (which waits
// a moment for the answers, as the program is ending). The bus is connected
// to once the event loop runs, so that starting never waits for it.
class DBusScreenSaverInhibitor : public ScreenSaverInhibitor {
public:
    explicit DBusScreenSaverInhibitor(QString applicationName);
    ~DBusScreenSaverInhibitor() override;
    DBusScreenSaverInhibitor(const DBusScreenSaverInhibitor&) = delete;
    DBusScreenSaverInhibitor& operator=(const DBusScreenSaverInhibitor&) = delete;

    void inhibit(const QString& reason) override;
    void release() override;
    InhibitionHolder holder() const override { return holder_; }

private:
    enum class Ask { ScreenSaver, OlderScreenSaver, Portal };
    void take();
    void ask(Ask whom);
    void answered(Ask whom, const QDBusMessage& reply, int generation);
    void giveBack();
    void sendGiveBack(InhibitionHolder holder, const QString& path, quint32 cookie);
    void setHolder(InhibitionHolder holder);
    void serviceChanged(const QString& service, const QString& oldOwner, const QString& newOwner);
    void connectToBus();

    QString applicationName_;
    QString reason_;
    bool wanted_ = false;
    InhibitionHolder holder_ = InhibitionHolder::None;
    QString path_; // where the screensaver service answered
    quint32 cookie_ = 0;
    QString request_; // the portal's request that holds the inhibition
    // Answers to calls made before the last change of mind are given back
    // when they bring an inhibition.
    int generation_ = 0;
    bool asking_ = false;
    std::unique_ptr<QDBusServiceWatcher> watcher_;
    QList<QDBusPendingCall> givingBack_;
    QObject context_; // the deferred connection goes with this
};

} // namespace zb
