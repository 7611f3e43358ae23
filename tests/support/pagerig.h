#pragma once

#include "pageitems.h"
#include "pauses.h"
#include "recordingpointersettings.h"
#include "simulatedg7.h"
#include "tempdatafolder.h"
#include "tracedblocks.h"
#include "tracereader.h"

#include <QObject>
#include <QStringList>

#include <memory>

class Hid_Thread;
class myQQuickView;

// main.qml on the real bridge and a traced simulated mouse, in a temporary data folder with the installed files and
// profile 1 the defaults (not `installed`: apConfig.bin alone), to change before start(); pointer settings and pauses
// are recorded only.
class PageRig
{
public:
    explicit PageRig(int model = 1, const QString &language = QStringLiteral("English"), bool installed = true);
    ~PageRig();
    void connect();   // the bridge on the mouse found through the catalogue; start() adds the page
    bool start();

    QQuickItem *item(const QString &name) const;
    bool shown(const QString &name) const;
    QString text(const QString &name) const;
    // Where an item is once laid out (a menu just opened is positioned in the next polish pass).
    QPoint centre(const QString &name, QPointF at = {-1, -1}) const;
    // A real click on the widget, at the item's centre or at `at` inside it.
    void click(const QString &name, Qt::MouseButton button = Qt::LeftButton, QPointF at = {-1, -1});
    void clickAt(const QString &name, QPointF at) { click(name, Qt::LeftButton, at); }
    void hover(const QString &name) { moveTo(centre(name)); }
    // Empty when the item lies wholly inside the window and no clipping ancestor cuts it; else what cuts it.
    QString cutOff(const QString &name) const;

    QString traceFile() const { return data.filePath(QStringLiteral("trace.txt")); }
    // The reports written after the first `from`: "feature-out 00 06 ..." without the interface.
    QStringList reports(int from = 0) const;
    int traceLength() const { return int(reports().size()); }
    QList<QByteArray> matrices() const { return sentKeyMatrices(traceFile()); }
    // The current profile's value as text, lists joined by ", ".
    QString stored(const QString &key) const;
    // The value of `key` in [section] of a data file ("modules/setting/p1.bin") as an editor shows it; null if absent.
    QString fileValue(const QString &file, const QString &section, const QString &key) const;

    TempDataFolder data;
    std::shared_ptr<SimulatedG7> sim;
    std::shared_ptr<RecordingSleeper> sleeper = std::make_shared<RecordingSleeper>();
    std::unique_ptr<Hid_Thread> hid;
    std::unique_ptr<myQQuickView> view;
    RecordingPointerSettings *system = nullptr;
    QObject controller;   // the window controller: no test moves, minimises or closes the page

private:
    void moveTo(QPoint point) const;
};
