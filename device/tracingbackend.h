#pragma once

#include "hidbackend.h"

#include <QHash>
#include <QMutex>

#include <memory>

// Wraps any backend and writes one report-trace line for each open, close and
// transfer (see reporttrace.h), so real and simulated devices are traced by the
// same code.
//
// A handle's interface is the label discovery gave its path. A path without a
// label is named by the usage page it was last enumerated with (ff01 "cmd",
// ff02 "evt"), and "?" when it was never enumerated either.
class TracingBackend : public HidBackend
{
public:
    explicit TracingBackend(std::shared_ptr<HidBackend> inner);

    HidBackend &inner() const { return *m_inner; }

    G7_HID_BACKEND_OVERRIDES

private:
    const char *interfaceOfPath(const char *path);
    const char *interfaceOf(HidHandle *dev);
    // Writes the line of a transfer (or its error line) and passes the result on.
    int traceTransfer(HidHandle *dev, const char *op, const unsigned char *data, size_t length, int result);
    void traceRead(HidHandle *dev, const unsigned char *data, int result, int milliseconds);

    std::shared_ptr<HidBackend> m_inner;
    QMutex m_mutex;
    QHash<QByteArray, const char *> m_enumeratedPaths;
    QHash<HidHandle *, const char *> m_handles;
};
