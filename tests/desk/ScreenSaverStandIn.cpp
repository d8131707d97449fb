// A stand-in for the desktop's screensaver service on a private session bus:
// answers org.freedesktop.ScreenSaver Inhibit and UnInhibit and prints one
// line per call ("INHIBIT cookie application reason", "UNINHIBIT cookie"),
// after "READY" once it owns the name.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <cstdio>

namespace {

const QString kService = QStringLiteral("org.freedesktop.ScreenSaver");

void say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

class StandIn : public QDBusVirtualObject {
public:
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        if (message.interface() != kService)
            return false;
        const QVariantList args = message.arguments();
        if (message.member() == QStringLiteral("Inhibit") && args.size() == 2) {
            const quint32 cookie = ++next_;
            say(QStringLiteral("INHIBIT %1 %2 %3").arg(cookie).arg(args[0].toString(), args[1].toString()));
            return connection.send(message.createReply(QVariant::fromValue(cookie)));
        }
        if (message.member() == QStringLiteral("UnInhibit") && args.size() == 1) {
            say(QStringLiteral("UNINHIBIT %1").arg(args[0].toUInt()));
            return connection.send(message.createReply());
        }
        return false;
    }

private:
    quint32 next_ = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    StandIn standIn;
    if (!bus.registerVirtualObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &standIn) ||
        !bus.registerService(kService)) {
        std::fprintf(stderr, "cannot serve %s: %s\n", qPrintable(kService), qPrintable(bus.lastError().message()));
        return 1;
    }
    say(QStringLiteral("READY"));
    return QCoreApplication::exec();
}
