#include "instancecommands.h"

#include "clicommands.h"
#include "clirequest.h"

#include <hid_thread.h>
#include <myqquickview.h>
#include <pageroot.h>
#include <simulatedg7.h>

PeerAnswer runInstanceCommand(const QStringList &args, myQQuickView *view, Hid_Thread &hid)
{
    const CliRequest request = CliRequest::parse(args, int(SimulatedG7::productIds.size()));
    const PageRoot page = view->page();
    // Under a dialog the page behind it could change while the dialog still shows the old one.
    if ((request.command == CliRequest::Profile || request.command == CliRequest::Import) && page.dialogOpen())
        return PeerAnswer{1, QString(),
                          QStringLiteral("the running program has a dialog open; close it and try again\n")};
    // A profile switch, a new profile and a load go through the profile page, so the page shows them.
    CliTarget target{view->store, hid, [page] { return page.started(); },
                     [](const DeviceRecord &) { return QStringLiteral("in use by the running program"); },
                     [page](int profile) { page.commandLineProfile(profile); },
                     [page](const QString &file) { page.commandLineLoad(file); },
                     [page] { return page.commandLineProfile(-1); }};
    return runCliRequest(request, target);
}
