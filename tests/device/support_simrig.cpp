#include "support_simrig.h"

#include "hidbackend.h"
#include "reporttrace.h"
#include "tracingbackend.h"

#include <QFile>

SimRig::SimRig(int model)
    : sim(std::make_shared<SimulatedG7>(model))
    , sleeper(std::make_shared<RecordingSleeper>())
{
    ReportTrace::open(traceFile());
    ReportTrace::labelPath(QString::fromLatin1(sim->commandPath()), "cmd");
    ReportTrace::labelPath(QString::fromLatin1(sim->eventPath()), "evt");
    setHidBackend(std::make_shared<TracingBackend>(sim));
    setSleeper(sleeper);
}

SimRig::~SimRig()
{
    setSleeper(nullptr);
    setHidBackend(nullptr);
    ReportTrace::close();
}

void SimRig::clearTrace()
{
    ReportTrace::close();
    QFile::remove(traceFile());
    ReportTrace::open(traceFile());
}
