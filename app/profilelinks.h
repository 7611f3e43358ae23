#pragma once

#include <QObject>
#include <QStringList>

class ActiveWindowWatch;
class AutoSwitch;
class DeviceHost;
class Hid_Thread;
class myQQuickView;

// Profiles that follow the application in front: the links the profile page's
// dialog shows and edits (published to the pages as ui_Links), and the switch
// through the profile page when the active window's class is linked.
class ProfileLinks : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool available READ available CONSTANT)
public:
    ProfileLinks(myQQuickView *view, Hid_Thread &hid, DeviceHost &host, QObject *parent = nullptr);

    bool available() const;
    AutoSwitch *autoSwitch() const { return m_autoSwitch; }

    Q_INVOKABLE QStringList openClasses() const;
    Q_INVOKABLE QStringList linksOf(int profile) const;
    Q_INVOKABLE bool link(const QString &windowClass, int profile);
    Q_INVOKABLE bool unlink(const QString &windowClass);
    // The profile page deleted the profile.
    Q_INVOKABLE void unlinkProfile(int profile);

private:
    bool switchTo(int profile);

    myQQuickView *m_view;
    Hid_Thread &m_hid;
    DeviceHost &m_host;
    ActiveWindowWatch *m_watch;
    AutoSwitch *m_autoSwitch;
};
