#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class SimulatedG7;

// Command-line choices of the device layer:
//   --simulate        a simulated mouse of catalogue model 1
//   --simulate=N      model N (0..3; anything else: one console line and model 1)
//   --trace FILE      append the report trace to FILE (also --trace=FILE)
struct DeviceOptions {
    bool simulate = false;
    int model = 1;
    QString traceFile;
};

DeviceOptions parseDeviceOptions(const QStringList &args);

// Installs the real or the simulated backend, wrapped in the tracing backend
// when a trace file is given and can be written. Returns the simulated mouse,
// or null for the real one.
std::shared_ptr<SimulatedG7> installDeviceBackend(const DeviceOptions &options);
