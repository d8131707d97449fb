#include "DBusScreenSaverInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusServiceWatcher>
#include <QDeadlineTimer>
#include <QTimer>
#include <QVariantMap>

namespace zb {

namespace {

const QString kScreenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
// The interface is served at the first path by the desktops that follow the
// standard, at the second by older ones.
const QString kScreenSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kOlderScreenSaverPath = QStringLiteral("/ScreenSaver");
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kPortalInhibit = QStringLiteral("org.freedesktop.portal.Inhibit");
const QString kPortalRequest = QStringLiteral("org.freedesktop.portal.Request");
constexpr quint32 kInhibitIdle = 8;
// At the program's end, how long the services have to confirm.
constexpr int kGiveBackWaitMs = 1000;
// Well after the window has come up.
constexpr int kConnectAfterMs = 500;

bool noSuchService(const QDBusMessage& reply)
{
    const QString e = reply.errorName();
    return e == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") ||
           e == QStringLiteral("org.freedesktop.DBus.Error.NameHasNoOwner");
}

} // namespace

DBusScreenSaverInhibitor::DBusScreenSaverInhibitor(QString applicationName)
    : applicationName_(std::move(applicationName))
{
    // Connecting to the bus waits for it: that is left until the event loop
    // runs, once the window is on the screen.
    QTimer::singleShot(kConnectAfterMs, &context_, [this] { connectToBus(); });
}

void DBusScreenSaverInhibitor::connectToBus()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    watcher_ = std::make_unique<QDBusServiceWatcher>();
    watcher_->setConnection(bus);
    watcher_->setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    watcher_->setWatchedServices({kScreenSaver, kPortal});
    QObject::connect(watcher_.get(), &QDBusServiceWatcher::serviceOwnerChanged, watcher_.get(),
                     [this](const QString& service, const QString& oldOwner, const QString& newOwner) {
                         serviceChanged(service, oldOwner, newOwner);
                     });
    take();
}

DBusScreenSaverInhibitor::~DBusScreenSaverInhibitor()
{
    watcher_.reset();
    wanted_ = false;
    giveBack();
    // The program is ending: the messages must leave before the connection
    // closes.
    const QDeadlineTimer deadline(kGiveBackWaitMs);
    for (QDBusPendingCall& call : givingBack_) {
        while (!call.isFinished() && !deadline.hasExpired())
            QDBusPendingCallWatcher(call).waitForFinished();
    }
}

void DBusScreenSaverInhibitor::inhibit(const QString& reason)
{
    reason_ = reason;
    if (wanted_)
        return;
    wanted_ = true;
    take();
}

void DBusScreenSaverInhibitor::release()
{
    if (!wanted_)
        return;
    wanted_ = false;
    ++generation_;
    asking_ = false;
    giveBack();
}

void DBusScreenSaverInhibitor::take()
{
    if (!wanted_ || asking_ || holder_ != InhibitionHolder::None || !watcher_)
        return;
    ask(Ask::ScreenSaver);
}

void DBusScreenSaverInhibitor::ask(Ask whom)
{
    QDBusMessage call;
    if (whom == Ask::Portal) {
        call = QDBusMessage::createMethodCall(kPortal, kPortalPath, kPortalInhibit, QStringLiteral("Inhibit"));
        call << QString() << kInhibitIdle << QVariantMap{{QStringLiteral("reason"), reason_}};
    } else {
        const QString& path = whom == Ask::ScreenSaver ? kScreenSaverPath : kOlderScreenSaverPath;
        call = QDBusMessage::createMethodCall(kScreenSaver, path, kScreenSaver, QStringLiteral("Inhibit"));
        call << applicationName_ << reason_;
    }
    asking_ = true;
    auto* pending = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), watcher_.get());
    const int generation = generation_;
    QObject::connect(pending, &QDBusPendingCallWatcher::finished, pending,
                     [this, whom, generation](QDBusPendingCallWatcher* w) {
                         w->deleteLater();
                         answered(whom, w->reply(), generation);
                     });
}

void DBusScreenSaverInhibitor::answered(Ask whom, const QDBusMessage& reply, int generation)
{
    const QVariantList args = reply.arguments();
    const bool ok = reply.type() == QDBusMessage::ReplyMessage && args.size() == 1;
    if (generation != generation_) {
        // Asked before a change of mind: whatever it brought goes back at once.
        if (ok && whom == Ask::Portal)
            sendGiveBack(InhibitionHolder::Portal, args.constFirst().value<QDBusObjectPath>().path(), 0);
        else if (ok)
            sendGiveBack(InhibitionHolder::ScreenSaver,
                         whom == Ask::ScreenSaver ? kScreenSaverPath : kOlderScreenSaverPath,
                         args.constFirst().toUInt());
        return;
    }
    asking_ = false;
    if (whom == Ask::Portal) {
        if (ok && args.constFirst().canConvert<QDBusObjectPath>()) {
            request_ = args.constFirst().value<QDBusObjectPath>().path();
            setHolder(InhibitionHolder::Portal);
        }
        // Neither service answers: the watcher tries again when one appears.
        return;
    }
    if (ok && args.constFirst().metaType() == QMetaType::fromType<quint32>()) {
        cookie_ = args.constFirst().toUInt();
        path_ = whom == Ask::ScreenSaver ? kScreenSaverPath : kOlderScreenSaverPath;
        setHolder(InhibitionHolder::ScreenSaver);
        return;
    }
    if (whom == Ask::ScreenSaver && !noSuchService(reply))
        ask(Ask::OlderScreenSaver); // a service without the standard path
    else
        ask(Ask::Portal);
}

void DBusScreenSaverInhibitor::giveBack()
{
    if (holder_ == InhibitionHolder::None)
        return;
    sendGiveBack(holder_, holder_ == InhibitionHolder::Portal ? request_ : path_, cookie_);
    setHolder(InhibitionHolder::None);
}

void DBusScreenSaverInhibitor::sendGiveBack(InhibitionHolder holder, const QString& path, quint32 cookie)
{
    QDBusMessage call;
    if (holder == InhibitionHolder::ScreenSaver) {
        call = QDBusMessage::createMethodCall(kScreenSaver, path, kScreenSaver, QStringLiteral("UnInhibit"));
        call << cookie;
    } else {
        call = QDBusMessage::createMethodCall(kPortal, path, kPortalRequest, QStringLiteral("Close"));
    }
    givingBack_.removeIf([](const QDBusPendingCall& c) { return c.isFinished(); });
    givingBack_.append(QDBusConnection::sessionBus().asyncCall(call));
}

void DBusScreenSaverInhibitor::setHolder(InhibitionHolder holder)
{
    if (holder == holder_)
        return;
    holder_ = holder;
    holderChanged();
}

void DBusScreenSaverInhibitor::serviceChanged(const QString& service, const QString& oldOwner, const QString& newOwner)
{
    const bool screenSaver = service == kScreenSaver;
    const InhibitionHolder held = screenSaver ? InhibitionHolder::ScreenSaver : InhibitionHolder::Portal;
    if (!oldOwner.isEmpty() && holder_ == held) {
        // Its inhibitions went with it.
        setHolder(InhibitionHolder::None);
    }
    if (!newOwner.isEmpty() && screenSaver && holder_ == InhibitionHolder::Portal && wanted_) {
        // The session's own service is the better holder.
        giveBack();
    }
    if (asking_) {
        // The question in flight was put to the services as they were.
        ++generation_;
        asking_ = false;
    }
    take();
}

} // namespace zb
