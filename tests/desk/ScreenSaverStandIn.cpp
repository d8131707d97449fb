// A stand-in for the desktop's screensaver service on a private session bus:
// answers org.freedesktop.ScreenSaver Inhibit and UnInhibit and prints one
// line per call ("INHIBIT cookie application reason", "UNINHIBIT cookie"),
// after "READY" once it owns the name. With --portal it stands in for the
// desktop portal instead ("PORTAL-INHIBIT n flags reason", and "CLOSE n" when
// request n is closed). With --hold it answers an Inhibit only once a line
// "ANSWER" comes on its standard input, as a busy service would.
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QList>
#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {

const QString kScreenSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class StandIn : public QDBusVirtualObject {
public:
    explicit StandIn(bool hold) : hold_(hold) {}

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        const QVariantList args = message.arguments();
        QDBusMessage reply;
        if (message.interface() == kScreenSaver && message.member() == QStringLiteral("Inhibit") && args.size() == 2) {
            const quint32 cookie = ++next_;
            say(QStringLiteral("INHIBIT %1 %2 %3").arg(cookie).arg(args[0].toString(), args[1].toString()));
            reply = message.createReply(QVariant::fromValue(cookie));
        } else if (message.interface() == kScreenSaver && message.member() == QStringLiteral("UnInhibit") &&
                   args.size() == 1) {
            say(QStringLiteral("UNINHIBIT %1").arg(args[0].toUInt()));
            return connection.send(message.createReply());
        } else if (message.interface() == QStringLiteral("org.freedesktop.portal.Inhibit") &&
                   message.member() == QStringLiteral("Inhibit") && args.size() == 3) {
            const quint32 n = ++next_;
            const QVariantMap options = qdbus_cast<QVariantMap>(args[2]);
            say(QStringLiteral("PORTAL-INHIBIT %1 %2 %3")
                    .arg(n)
                    .arg(args[1].toUInt())
                    .arg(options.value(QStringLiteral("reason")).toString()));
            reply = message.createReply(
                QVariant::fromValue(QDBusObjectPath(kPortalPath + QStringLiteral("/request/%1").arg(n))));
        } else if (message.interface() == QStringLiteral("org.freedesktop.portal.Request") &&
                   message.member() == QStringLiteral("Close")) {
            say(QStringLiteral("CLOSE ") + message.path().section(QLatin1Char('/'), -1));
            return connection.send(message.createReply());
        } else {
            return false;
        }
        if (!hold_)
            return connection.send(reply);
        message.setDelayedReply(true);
        held_.append(reply);
        return true;
    }
    void answer()
    {
        for (const QDBusMessage& reply : held_)
            QDBusConnection::sessionBus().send(reply);
        held_.clear();
    }

private:
    bool hold_;
    quint32 next_ = 0;
    QList<QDBusMessage> held_;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const bool portal = args.contains(QStringLiteral("--portal"));
    QDBusConnection bus = QDBusConnection::sessionBus();
    StandIn standIn(args.contains(QStringLiteral("--hold")));
    const QString service = portal ? kPortal : kScreenSaver;
    const QString path = portal ? kPortalPath : QStringLiteral("/org/freedesktop/ScreenSaver");
    if (!bus.registerVirtualObject(path, &standIn, QDBusConnection::SubPath) || !bus.registerService(service)) {
        std::fprintf(stderr, "cannot serve %s: %s\n", qPrintable(service), qPrintable(bus.lastError().message()));
        return 1;
    }
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char line[64];
        const ssize_t n = ::read(STDIN_FILENO, line, sizeof line);
        if (n <= 0)
            input.setEnabled(false);
        else
            standIn.answer();
    });
    say(QStringLiteral("READY"));
    return QCoreApplication::exec();
}
