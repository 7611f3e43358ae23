#include "pageroot.h"

#include <hid_thread.h>

#include <QApplication>
#include <QDebug>
#include <QMetaObject>

QVariant PageRoot::call(const char *function, const QVariantList &arguments, bool queued) const
{
    if (!root) {
        qDebug() << "No page loaded to call" << function;
        return {};
    }
    // The page's functions take and return QVariant; a queued call returns nothing.
    QVariant result;
    QGenericArgument args[4];
    for (int i = 0; i < arguments.size() && i < 4; ++i)
        args[i] = Q_ARG(QVariant, arguments.at(i));
    if (queued)
        QMetaObject::invokeMethod(root, function, Qt::QueuedConnection, args[0], args[1], args[2], args[3]);
    else
        QMetaObject::invokeMethod(root, function, Qt::DirectConnection, Q_RETURN_ARG(QVariant, result), args[0],
                                  args[1], args[2], args[3]);
    return result;
}

QVariant PageRoot::property(const char *name) const
{
    return root ? root->property(name) : QVariant();
}

void PageRoot::initUI(int curDevice) const
{
    call("initUI", {curDevice});
}

void PageRoot::run() const
{
    call("run", {});
}

void PageRoot::setProtectUI(int interval) const
{
    call("setProtectUI", {interval});
}

void PageRoot::setMouseState(int state, bool reveal) const
{
    call("setMouseState", {state, reveal}, true);
}

void PageRoot::detectKeyboard(bool isDown, int usbCode) const
{
    call("detectKeyboard", {isDown, usbCode}, true);
}

void PageRoot::detectMouse(bool isDown, uint buttonCode, uint x, uint y) const
{
    call("detectMouse", {isDown, buttonCode, x, y}, true);
}

void PageRoot::setInTray(bool inTray) const
{
    if (root)
        root->setProperty("inTray", inTray);
}

bool PageRoot::started() const
{
    // The page stays up after the mouse went away; without it nothing through the page reaches one.
    return deviceReady && property("isPowerOn").toBool();
}

bool PageRoot::dialogOpen() const
{
    // A modal box (a copy-data record, a file chooser) covers the page as its own dialogs do.
    return property("dialogOpen").toBool() || QApplication::activeModalWidget();
}

QString PageRoot::profileName(int profile) const
{
    return call("profileName", {profile}).toString();
}

int PageRoot::commandLineProfile(int profile) const
{
    const QVariant current = call("commandLineProfile", {profile});
    return current.isValid() ? current.toInt() : -1;
}

void PageRoot::commandLineLoad(const QString &file) const
{
    call("commandLineLoad", {file});
}
