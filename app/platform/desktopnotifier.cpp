#include "desktopnotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QVariantMap>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString objectPath = QStringLiteral("/org/freedesktop/Notifications");

} // namespace

DesktopNotifier::DesktopNotifier(const QString &appName, const QString &iconPath, QObject *parent)
    : QObject(parent), appName(appName), iconPath(iconPath)
{
}

void DesktopNotifier::notify(const QString &title, const QString &text, const QString &replaceKey)
{
    if (!replaceKey.isEmpty() && pending[replaceKey].waiting) {
        // Without the id of the one on its way it would stack; only the newest is kept.
        Slot &slot = pending[replaceKey];
        slot.nextTitle = title;
        slot.nextText = text;
        slot.hasNext = true;
        return;
    }
    send(title, text, replaceKey);
}

void DesktopNotifier::send(const QString &title, const QString &text, const QString &replaceKey)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qDebug().noquote() << "No session bus for the notice:" << text;
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(service, objectPath, service, QStringLiteral("Notify"));
    const uint replaces = replaceKey.isEmpty() ? 0 : pending.value(replaceKey).lastId;
    call << appName << replaces << iconPath << title << text << QStringList() << QVariantMap() << int(expireMs);
    if (!replaceKey.isEmpty())
        pending[replaceKey].waiting = true;
    // Asynchronous: a slow or missing service never holds up the page.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, replaceKey, text] {
        watcher->deleteLater();
        const QDBusPendingReply<uint> reply = *watcher;
        if (reply.isError())
            qDebug().noquote() << "Notice not shown:" << reply.error().message() << "-" << text;
        if (replaceKey.isEmpty())
            return;
        Slot &slot = pending[replaceKey];
        slot.waiting = false;
        if (!reply.isError())
            slot.lastId = reply.value();
        if (slot.hasNext) {
            slot.hasNext = false;
            send(slot.nextTitle, slot.nextText, replaceKey);
        }
    });
}
