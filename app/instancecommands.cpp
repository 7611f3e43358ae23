#include "instancecommands.h"

#include "clicommands.h"
#include "clirequest.h"

#include <hid_thread.h>
#include <myqquickview.h>

#include <namelists.h>

#include <QApplication>
#include <QQuickItem>

namespace {

QObject *pageItem(myQQuickView *view, const char *name)
{
    QQuickItem *root = view->rootObject();
    return root ? root->findChild<QObject *>(QLatin1String(name)) : nullptr;
}

} // namespace

// The page is up once a device connection started it.
bool pageRunning(myQQuickView *view)
{
    QQuickItem *root = view->rootObject();
    return deviceReady && root && root->property("isPowerOn").toBool() && pageItem(view, "profileMain");
}

// A dialog of the page (its mask is up) or a modal box: a command through the page would
// act under it, so the page behind it could change while the dialog still shows the old one.
bool dialogOpen(myQQuickView *view)
{
    QObject *mask = pageItem(view, "mainMask");
    return (mask && mask->property("visible").toBool()) || QApplication::activeModalWidget();
}

// As a click on the profile's row and then on the panel's close button: the page
// switches, re-reads its panels and re-sends them. The rows are the stored list's order.
void switchOnPage(myQQuickView *view, int profile)
{
    const QStringList entries = NameLists::withoutSentinel(NameLists::read(NameLists::Profiles));
    int row = 0;
    while (row < entries.size() && NameLists::splitProfileEntry(entries.at(row)).number != profile)
        ++row;
    QObject *panel = pageItem(view, "profileMain");
    // Asked for explicitly, the profile goes out even when it already was the current one.
    view->rootObject()->setProperty("profileChanged", true);
    QMetaObject::invokeMethod(panel, "selectRow", Q_ARG(QVariant, row));
    QMetaObject::invokeMethod(panel, "closePanel");
}

PeerAnswer runInstanceCommand(const QStringList &args, myQQuickView *view, Hid_Thread &hid)
{
    const CliRequest request = CliRequest::parse(args);
    if ((request.command == CliRequest::Profile || request.command == CliRequest::Import) && dialogOpen(view))
        return PeerAnswer{1, QString(),
                          QStringLiteral("the running program has a dialog open; close it and try again\n")};
    CliTarget target{view->store, hid, [view] { return pageRunning(view); },
                     [](const DeviceRecord &) { return QStringLiteral("in use by the running program"); },
                     [view](int profile) { switchOnPage(view, profile); },
                     [view](const QString &file) {
                         // The page's Load asks for the file; it is the one already taken.
                         const auto ask = view->chooseProfileToLoad;
                         view->chooseProfileToLoad = [file](QWidget *) { return file; };
                         QMetaObject::invokeMethod(pageItem(view, "profileMain"), "loadIntoCurrent");
                         view->chooseProfileToLoad = ask;
                     },
                     [view] {
                         // The page's New: listed, reset, selected and current, as a click on the button.
                         QObject *panel = pageItem(view, "profileMain");
                         const QObject *rows = panel->property("profileModel").value<QObject *>();
                         if (!rows || rows->property("count").toInt() >= panel->property("maxProfiles").toInt())
                             return -1;
                         QMetaObject::invokeMethod(panel, "newProfile");
                         return panel->property("profileNo").toInt();
                     }};
    return runCliRequest(request, target);
}
