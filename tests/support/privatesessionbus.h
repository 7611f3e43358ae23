#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QStringList>

#include <csignal>
#include <cstdio>

// A session bus of the test's own (dbus-daemon --session), so no test reaches the desktop's.
// Made before the application object, it is the session bus of this process too.
class PrivateSessionBus
{
public:
    PrivateSessionBus()
    {
        if (FILE *out = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r")) {
            char line[512];
            if (fgets(line, sizeof line, out))
                address = QByteArray(line).trimmed();
            if (fgets(line, sizeof line, out))
                pid = QByteArray(line).trimmed().toInt();
            pclose(out);
        }
    }
    ~PrivateSessionBus()
    {
        if (pid > 0)
            kill(pid, SIGTERM);
    }
    void useAsSessionBus() const { qputenv("DBUS_SESSION_BUS_ADDRESS", address); }

    QByteArray address; // empty when dbus-daemon did not start
    int pid = 0;
};

// The desktop's notification service as far as a program sees it: Notify answers with a new
// id (or the one to replace) and each call is noted as "<id> replaces <n>: <summary> | <body>".
class NotificationServer : public QDBusVirtualObject
{
public:
    // Registers on `address` under the service's well-known name; false when that failed.
    bool start(const QByteArray &address)
    {
        bus = QDBusConnection::connectToBus(QString::fromLatin1(address), QStringLiteral("g7-notification-server"));
        return bus.isConnected() && bus.registerService(QStringLiteral("org.freedesktop.Notifications"))
            && bus.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"), this);
    }
    QString introspect(const QString &) const override { return {}; }
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        const QList<QVariant> a = message.arguments();
        if (message.member() != QLatin1String("Notify") || a.size() != 8)
            return false;
        const uint replaces = a.at(1).toUInt();
        const uint id = replaces ? replaces : ++lastId;
        calls << QStringLiteral("%1 replaces %2: %3 | %4").arg(id).arg(replaces).arg(a.at(3).toString(), a.at(4).toString());
        appNames << a.at(0).toString();
        icons << a.at(2).toString();
        timeouts << a.at(7).toInt();
        connection.send(message.createReply(QVariant::fromValue(id)));
        return true;
    }

    QStringList calls, appNames, icons;
    QList<int> timeouts;

private:
    QDBusConnection bus{QString()};
    uint lastId = 0;
};
