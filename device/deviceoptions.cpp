#include "deviceoptions.h"

#include "devicelog.h"
#include "realhidbackend.h"
#include "reporttrace.h"
#include "simulatedg7.h"
#include "tracingbackend.h"

namespace {

constexpr int defaultModel = 1;

int modelFrom(const QString &text)
{
    bool ok = false;
    const int model = text.toInt(&ok);
    if (ok && model >= 0 && model < int(SimulatedG7::productIds.size()))
        return model;
    qCDebug(lcDevice).noquote() << "--simulate: no model" << text << "- simulating model" << defaultModel;
    return defaultModel;
}

} // namespace

DeviceOptions parseDeviceOptions(const QStringList &args)
{
    static const QString simulate = QStringLiteral("--simulate");
    static const QString trace = QStringLiteral("--trace");
    DeviceOptions options;
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == simulate) {
            options.simulate = true;
            options.model = defaultModel;
        } else if (arg.startsWith(simulate + QLatin1Char('='))) {
            options.simulate = true;
            options.model = modelFrom(arg.mid(simulate.size() + 1));
        } else if (arg == trace) {
            if (i + 1 < args.size())
                options.traceFile = args.at(++i);
            else
                qCDebug(lcDevice) << "--trace: no file given";
        } else if (arg.startsWith(trace + QLatin1Char('='))) {
            options.traceFile = arg.mid(trace.size() + 1);
        }
    }
    return options;
}

std::shared_ptr<SimulatedG7> installDeviceBackend(const DeviceOptions &options)
{
    std::shared_ptr<SimulatedG7> simulated;
    std::shared_ptr<HidBackend> backend;
    if (options.simulate) {
        simulated = std::make_shared<SimulatedG7>(options.model);
        backend = simulated;
    } else {
        backend = std::make_shared<RealHidBackend>();
    }
    if (!options.traceFile.isEmpty() && ReportTrace::open(options.traceFile))
        backend = std::make_shared<TracingBackend>(backend);
    setHidBackend(backend);
    return simulated;
}
