#include "tracingbackend.h"

#include "reporttrace.h"

#include <QByteArray>

namespace {
constexpr uint16_t commandUsagePage = 0xFF01;
constexpr uint16_t eventUsagePage = 0xFF02;
} // namespace

TracingBackend::TracingBackend(std::shared_ptr<HidBackend> inner)
    : m_inner(std::move(inner))
{
}

HidDeviceInfo *TracingBackend::enumerate(uint16_t vendorId, uint16_t productId)
{
    HidDeviceInfo *devs = m_inner->enumerate(vendorId, productId);
    QMutexLocker lock(&m_mutex);
    for (const HidDeviceInfo *info = devs; info; info = info->next) {
        if (!info->path)
            continue;
        if (info->usagePage == commandUsagePage)
            m_enumeratedPaths.insert(QByteArray(info->path), "cmd");
        else if (info->usagePage == eventUsagePage)
            m_enumeratedPaths.insert(QByteArray(info->path), "evt");
    }
    return devs;
}

void TracingBackend::freeEnumeration(HidDeviceInfo *devs)
{
    m_inner->freeEnumeration(devs);
}

const char *TracingBackend::interfaceOfPath(const char *path)
{
    if (const char *label = ReportTrace::pathLabel(path))
        return label;
    QMutexLocker lock(&m_mutex);
    return m_enumeratedPaths.value(QByteArray(path ? path : ""), "?");
}

const char *TracingBackend::interfaceOf(HidHandle *dev)
{
    QMutexLocker lock(&m_mutex);
    return m_handles.value(dev, "?");
}

HidHandle *TracingBackend::openPath(const char *path)
{
    const char *iface = interfaceOfPath(path);
    HidHandle *dev = m_inner->openPath(path);
    if (!dev) {
        ReportTrace::write(iface, "open-failed");
        return nullptr;
    }
    {
        QMutexLocker lock(&m_mutex);
        m_handles.insert(dev, iface);
    }
    ReportTrace::write(iface, "open");
    return dev;
}

void TracingBackend::close(HidHandle *dev)
{
    if (!dev) {
        m_inner->close(dev);
        return;
    }
    const char *iface = "?";
    {
        QMutexLocker lock(&m_mutex);
        iface = m_handles.take(dev);
        if (!iface)
            iface = "?";
    }
    m_inner->close(dev);
    ReportTrace::write(iface, "close");
}

int TracingBackend::setNonblocking(HidHandle *dev, int nonblock)
{
    return m_inner->setNonblocking(dev, nonblock);
}

int TracingBackend::traceTransfer(HidHandle *dev, const char *op, const unsigned char *data,
                                  size_t length, int result)
{
    if (result < 0)
        ReportTrace::writeWord(interfaceOf(dev), "error", op);
    else
        ReportTrace::write(interfaceOf(dev), op, data, length);
    return result;
}

int TracingBackend::sendFeatureReport(HidHandle *dev, const unsigned char *data, size_t length)
{
    const int result = m_inner->sendFeatureReport(dev, data, length);
    return traceTransfer(dev, "feature-out", data, length, result);
}

int TracingBackend::getFeatureReport(HidHandle *dev, unsigned char *data, size_t length)
{
    const int result = m_inner->getFeatureReport(dev, data, length);
    return traceTransfer(dev, "feature-in", data, size_t(qMax(result, 0)), result);
}

int TracingBackend::write(HidHandle *dev, const unsigned char *data, size_t length)
{
    const int result = m_inner->write(dev, data, length);
    return traceTransfer(dev, "data-out", data, length, result);
}

void TracingBackend::traceRead(HidHandle *dev, const unsigned char *data, int result, int milliseconds)
{
    if (result < 0)
        ReportTrace::writeWord(interfaceOf(dev), "error", "data-in");
    else if (result == 0)
        ReportTrace::write(interfaceOf(dev), "read-timeout", nullptr, 0, milliseconds);
    else
        ReportTrace::write(interfaceOf(dev), "data-in", data, size_t(result));
}

int TracingBackend::read(HidHandle *dev, unsigned char *data, size_t length)
{
    const int result = m_inner->read(dev, data, length);
    traceRead(dev, data, result, 0);
    return result;
}

int TracingBackend::readTimeout(HidHandle *dev, unsigned char *data, size_t length, int milliseconds)
{
    const int result = m_inner->readTimeout(dev, data, length, milliseconds);
    traceRead(dev, data, result, milliseconds);
    return result;
}
