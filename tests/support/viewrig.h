#pragma once

#include "hid_thread.h"
#include "myqquickview.h"
#include "pagerig.h"

#include <QApplication>

// The page rig without the page: the bridge on a traced simulated mouse, apConfig.bin the only data file.
struct ViewRig : PageRig
{
    explicit ViewRig(int model) : PageRig(model, QStringLiteral("English"), false) {}
    QByteArray file(const QString &name) { qApp->processEvents(); return data.readFile("modules/setting/" + name); }

    myQQuickView &view = (connect(), *PageRig::view);
};
