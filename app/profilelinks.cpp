#include "profilelinks.h"

#include "autoswitch.h"
#include "platform/activewindowwatch.h"

#include <applinks.h>
#include <devicehost.h>
#include <hid_thread.h>
#include <myqquickview.h>
#include <pageroot.h>

ProfileLinks::ProfileLinks(myQQuickView *view, Hid_Thread &hid, DeviceHost &host, QObject *parent)
    : QObject(parent), m_view(view), m_hid(hid), m_host(host), m_watch(new ActiveWindowWatch(this))
{
    AutoSwitch::Hooks hooks;
    hooks.linkedProfile = [this](const QString &windowClass) {
        return AppLinks::profileFor(*m_view->store.apConfig(), windowClass);
    };
    hooks.currentProfile = [this] { return m_view->store.curProfile; };
    hooks.switchTo = [this](int profile) { return switchTo(profile); };
    hooks.busy = [this] { return !m_hid.hidFree || m_hid.channelInUse() || m_view->page().dialogOpen(); };
    m_autoSwitch = new AutoSwitch(hooks, this);
    connect(m_watch, &ActiveWindowWatch::activeChanged, m_autoSwitch, &AutoSwitch::focusChanged);
}

bool ProfileLinks::available() const
{
    return m_watch->available();
}

QStringList ProfileLinks::openClasses() const
{
    return m_watch->openClasses();
}

QStringList ProfileLinks::linksOf(int profile) const
{
    return AppLinks::classesOf(*m_view->store.apConfig(), profile);
}

bool ProfileLinks::link(const QString &windowClass, int profile)
{
    return AppLinks::link(*m_view->store.apConfig(), windowClass, profile);
}

bool ProfileLinks::unlink(const QString &windowClass)
{
    return AppLinks::unlink(*m_view->store.apConfig(), windowClass);
}

void ProfileLinks::unlinkProfile(int profile)
{
    AppLinks::unlinkProfile(*m_view->store.apConfig(), profile);
}

bool ProfileLinks::switchTo(int profile)
{
    const PageRoot page = m_view->page();
    const QString name = page.started() ? page.profileName(profile) : QString();
    if (name.isEmpty())
        return false;   // no mouse, or a link to a profile the page no longer lists
    page.commandLineProfile(profile);
    m_host.showNotice(QStringLiteral("ORVANE GLIDE MOUSE G7"),
                      (m_host.chinese() ? QStringLiteral("当前配置文件：%1") : QStringLiteral("Profile %1 is active")).arg(name));
    return true;
}
