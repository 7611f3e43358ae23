#pragma once

#include "hid_thread.h"
#include "myqquickview.h"
#include "pauses.h"
#include "simulatedg7.h"
#include "tempdatafolder.h"

#include <QMap>
#include <QStringList>

#include <memory>

// A bridge view wired to a simulated mouse: a private data folder with the
// installed apConfig.bin, the simulated G7 behind the tracing backend, the
// pauses recorded instead of waited, a device object whose device list comes
// from the catalogue, and the view using it.
class BridgeRig
{
public:
    explicit BridgeRig(int model = 1);
    ~BridgeRig();
    BridgeRig(const BridgeRig &) = delete;
    BridgeRig &operator=(const BridgeRig &) = delete;

    // The command-interface transfers of the trace ("cmd feature-out 00 01 ..."),
    // without opens, closes and pauses.
    QStringList transfers() const;
    // Every line of the trace, pauses and opens included.
    int traceLineCount() const;
    void clearTrace();
    // A settings file below modules/setting/ as another program reads it, after
    // the view's pending changes reached the disk.
    QMap<QString, QString> settingsFile(const QString &name) const;

    TempDataFolder data;
    std::shared_ptr<SimulatedG7> sim;
    std::shared_ptr<RecordingSleeper> sleeper;
    Hid_Thread hid;
    std::unique_ptr<myQQuickView> view;

private:
    QString traceFile() const { return data.filePath(QStringLiteral("trace.txt")); }
};
