#include "support_bridgerig.h"

#include "../store/support_rawini.h"

#include "catalogue.h"
#include "hidbackend.h"
#include "reporttrace.h"
#include "tracereader.h"
#include "tracingbackend.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>

BridgeRig::BridgeRig(int model)
    : sim(std::make_shared<SimulatedG7>(model))
    , sleeper(std::make_shared<RecordingSleeper>())
{
    data.copyFromSource(QStringLiteral("modules/setting/apConfig.bin"));
    ReportTrace::open(traceFile());
    setHidBackend(std::make_shared<TracingBackend>(sim));
    setSleeper(sleeper);

    const QSettings apConfig(data.filePath(QStringLiteral("modules/setting/apConfig.bin")), QSettings::IniFormat);
    bool encode = false;
    hid.findDevices(readCatalogue(QStringLiteral(":/DevInfo.ini"),
                                  apConfig.value(QStringLiteral("common/product_name")).toStringList(), &encode));
    isEncode = encode;

    view = std::make_unique<myQQuickView>();
    view->hid = &hid;
}

BridgeRig::~BridgeRig()
{
    view.reset();
    setSleeper(nullptr);
    setHidBackend(nullptr);
    ReportTrace::close();
}

QStringList BridgeRig::transfers() const
{
    QStringList texts;
    const TraceReader trace(traceFile());
    for (const TraceLine &line : trace.lines()) {
        if (line.iface == QLatin1String("cmd")
            && (line.op == QLatin1String("feature-out") || line.op == QLatin1String("data-out")
                || line.op == QLatin1String("feature-in")))
            texts.append(line.text());
    }
    return texts;
}

int BridgeRig::traceLineCount() const
{
    return int(TraceReader(traceFile()).lines().size());
}

void BridgeRig::clearTrace()
{
    ReportTrace::close();
    QFile::remove(traceFile());
    ReportTrace::open(traceFile());
}

QMap<QString, QString> BridgeRig::settingsFile(const QString &name) const
{
    QCoreApplication::processEvents();
    return readRawIni(data.filePath(QStringLiteral("modules/setting/") + name));
}
