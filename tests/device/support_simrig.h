#pragma once

#include "pauses.h"
#include "simulatedg7.h"
#include "tracereader.h"

#include <QTemporaryDir>

#include <memory>

// The device seam of a test: a simulated mouse behind the tracing backend, the
// trace going to a temporary file, discovery's interface labels given and the
// pauses recorded instead of waited. Everything is put back when it dies.
class SimRig
{
public:
    explicit SimRig(int model = 1);
    ~SimRig();
    SimRig(const SimRig &) = delete;
    SimRig &operator=(const SimRig &) = delete;

    QString traceFile() const { return m_dir.filePath(QStringLiteral("trace.txt")); }
    TraceReader trace() const { return TraceReader(traceFile()); }
    // The trace's lines without times, of one interface or all.
    QStringList traceTexts(const QString &iface = QString()) const { return trace().texts(iface); }
    // Starts the trace afresh.
    void clearTrace();

    std::shared_ptr<SimulatedG7> sim;
    std::shared_ptr<RecordingSleeper> sleeper;

private:
    QTemporaryDir m_dir;
};
