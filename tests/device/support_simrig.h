#pragma once

#include "catalogue.h"
#include "devicehost.h"
#include "hid_thread.h"
#include "pauses.h"
#include "reporttrace.h"
#include "simulatedg7.h"
#include "tracereader.h"
#include "tracingbackend.h"

#include <QTemporaryDir>

// A simulated mouse behind the tracing backend, pauses recorded; undone when it dies.
class SimRig
{
public:
    explicit SimRig(std::shared_ptr<SimulatedG7> mouse = std::make_shared<SimulatedG7>()) : sim(std::move(mouse))
    {
        clearTrace();
        ReportTrace::labelPath(QString::fromLatin1(sim->commandPath()), "cmd");
        ReportTrace::labelPath(QString::fromLatin1(sim->eventPath()), "evt");
        setHidBackend(std::make_shared<TracingBackend>(sim));
        setSleeper(sleeper);
    }
    ~SimRig()
    {
        setSleeper(nullptr);
        setHidBackend(nullptr);
        ReportTrace::close();
    }

    TraceReader trace() const { return TraceReader(m_dir.filePath("trace.txt")); }
    // What the commands put on the wire: feature and data reports and pauses.
    QStringList wire() const { return trace().texts({"feature-out", "data-out", "sleep"}); }
    void clearTrace()
    {
        ReportTrace::close();
        QFile::remove(m_dir.filePath("trace.txt"));
        ReportTrace::open(m_dir.filePath("trace.txt"));
    }

    std::shared_ptr<SimulatedG7> sim;
    std::shared_ptr<RecordingSleeper> sleeper = std::make_shared<RecordingSleeper>();

private:
    QTemporaryDir m_dir;
};

// Discovery against the shipped catalogue, without connecting.
inline void attachShippedCatalogue(Hid_Thread &hid)
{
    bool encode = false;
    hid.findDevices(readCatalogue(QStringLiteral(":/DevInfo.ini"), {}, &encode));
}

// The tray agent's stand-in: notes the view's state and counts connects. With `hid` set, a connect
// sends the profile number as the page's first step does (a command that pumps events).
class QuietHost : public DeviceHost
{
public:
    void deviceConnected(int) override
    {
        ++connects;
        if (hid)
            hid->hid_02H_SetCurrentProfile(0);
    }
    void showNotice(const QString &, const QString &) override {}
    void setViewEnabled(bool enabled) override { viewEnabled = enabled; }
    void hideWindow() override {}
    void clearHidBusy() override {}
    QVariant language() const override { return QStringLiteral("English"); }
    bool viewEnabled = false;
    Hid_Thread *hid = nullptr;
    int connects = 0;
};
