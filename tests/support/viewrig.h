#pragma once

#include "catalogue.h"
#include "hid_thread.h"
#include "myqquickview.h"
#include "pauses.h"
#include "recordingpointersettings.h"
#include "reporttrace.h"
#include "simulatedg7.h"
#include "storefile.h"
#include "tempdatafolder.h"
#include "tracingbackend.h"

#include <QApplication>
#include <QSettings>

// The view on a simulated mouse found through the catalogue, traced, with the pauses recorded, not waited.
struct ViewRig
{
    explicit ViewRig(int model) : sim(std::make_shared<SimulatedG7>(model))
    {
        ReportTrace::open(data.filePath("trace.txt"));
        setHidBackend(std::make_shared<TracingBackend>(sim));
        setSleeper(std::make_shared<RecordingSleeper>());
        const QSettings ap(data.filePath("modules/setting/apConfig.bin"), QSettings::IniFormat);
        hid.findDevices(readCatalogue(":/DevInfo.ini", StoreFile::format(), ap.value("common/product_name").toStringList(), &isEncode));
        view.hid = &hid;
        recordPointerSettings(view);
    }
    ~ViewRig() { setSleeper(nullptr); setHidBackend(nullptr); ReportTrace::close(); }
    QByteArray file(const QString &name) { qApp->processEvents(); return data.readFile("modules/setting/" + name); }

    TempDataFolder data;
    const bool installed = data.copyFromSource("modules/setting/apConfig.bin");
    std::shared_ptr<SimulatedG7> sim;
    Hid_Thread hid;
    myQQuickView view;
};
