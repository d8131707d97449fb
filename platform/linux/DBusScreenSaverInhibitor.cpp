#include "DBusScreenSaverInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace zb {

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");
// The interface is served at the first path by the desktops that follow the
// standard, at the second by older ones.
const QString kPaths[] = {QStringLiteral("/org/freedesktop/ScreenSaver"), QStringLiteral("/ScreenSaver")};
// A desktop service answers at once; one that hangs must not hold up the
// window for long.
constexpr int kCallTimeoutMs = 1000;

} // namespace

DBusScreenSaverInhibitor::DBusScreenSaverInhibitor(QString applicationName)
    : applicationName_(std::move(applicationName))
{}

DBusScreenSaverInhibitor::~DBusScreenSaverInhibitor() { release(); }

bool DBusScreenSaverInhibitor::inhibit(const QString& reason)
{
    if (cookie_)
        return true;
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    for (const QString& path : kPaths) {
        QDBusMessage call = QDBusMessage::createMethodCall(kService, path, kService, QStringLiteral("Inhibit"));
        call << applicationName_ << reason;
        const QDBusMessage reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 1 &&
            reply.arguments().constFirst().metaType() == QMetaType::fromType<quint32>()) {
            cookie_ = reply.arguments().constFirst().value<quint32>();
            path_ = path;
            return true;
        }
        // No such service at all: the other path will not find one either.
        if (reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.ServiceUnknown") ||
            reply.errorName() == QStringLiteral("org.freedesktop.DBus.Error.NoReply"))
            return false;
    }
    return false;
}

void DBusScreenSaverInhibitor::release()
{
    if (!cookie_)
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, path_, kService, QStringLiteral("UnInhibit"));
    call << *cookie_;
    cookie_.reset();
    QDBusConnection::sessionBus().call(call, QDBus::Block, kCallTimeoutMs);
}

} // namespace zb
