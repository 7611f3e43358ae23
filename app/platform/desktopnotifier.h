#pragma once

#include <QHash>
#include <QObject>
#include <QString>

// Notices through the desktop's notification service (org.freedesktop.Notifications
// on the session bus), for desktops that have no tray to show a balloon.
class DesktopNotifier : public QObject
{
    Q_OBJECT
public:
    // appName and iconPath are what the desktop shows beside every notice.
    DesktopNotifier(const QString &appName, const QString &iconPath, QObject *parent = nullptr);

    // A notice with a replaceKey replaces the last one sent with the same key instead of
    // stacking under it; an empty key always adds a new notice.
    void notify(const QString &title, const QString &text, const QString &replaceKey = QString());

    static constexpr int expireMs = 10000;

private:
    struct Slot {
        uint lastId = 0;        // the service's id of the latest notice
        bool waiting = false;   // a notice is on its way and its id not yet known
        QString nextTitle, nextText; // the newest notice that came meanwhile
        bool hasNext = false;
    };
    void send(const QString &title, const QString &text, const QString &replaceKey);

    QString appName;
    QString iconPath;
    QHash<QString, Slot> pending;
};
