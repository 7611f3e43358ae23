#include "simulatedg7.h"

#include "scrambler.h"

#include <QDeadlineTimer>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

class SimulatedG7::Handle : public HidHandle
{
public:
    Handle(Interface iface, quint64 generation) : iface(iface), generation(generation) {}
    const Interface iface;
    const quint64 generation;
    bool nonblocking = false;
    QList<QByteArray> inbox;    // shared node only
};

namespace {

constexpr uint16_t commandUsagePage = 0xFF01;
constexpr uint16_t eventUsagePage = 0xFF02;
constexpr uint16_t vendorUsage = 0x0001;
constexpr int featureReportLength = 9;

int indexOf(SimulatedG7::Interface iface)
{
    return iface == SimulatedG7::Interface::Command ? 0 : 1;
}

} // namespace

SimulatedG7::SimulatedG7(int model, QObject *parent)
    : QObject(parent)
    , m_model(model >= 0 && model < int(productIds.size()) ? model : 1)
{
    m_firmware.reportLength = reportLength;
    setScrambling(false);
}

SimulatedG7::~SimulatedG7() = default;

QByteArray SimulatedG7::pathOf(Interface iface, int occurrence) const
{
    QByteArray path = "sim-g7/" + QByteArray::number(vendorId, 16) + ':' + QByteArray::number(productId(), 16)
            + (iface == Interface::Command ? "/cmd" : "/evt");
    if (occurrence > 0)
        path += '#' + QByteArray::number(occurrence);
    return path;
}

QByteArray SimulatedG7::commandPath() const
{
    return pathOf(Interface::Command);
}

QByteArray SimulatedG7::eventPath() const
{
    return sharedNode() ? commandPath() : pathOf(Interface::Event);
}

void SimulatedG7::setSharedNode(bool shared)
{
    QMutexLocker lock(&m_mutex);
    m_shared = shared;
}

bool SimulatedG7::sharedNode() const
{
    QMutexLocker lock(&m_mutex);
    return m_shared;
}

void SimulatedG7::emitDpiEventWithNextInput(int stage)
{
    QMutexLocker lock(&m_mutex);
    const char report[4] = {0x06, 0x07, 0x00, char(stage)};
    m_eventWithNextInput = QByteArray(report, 4);
}

void SimulatedG7::arriveInput(const QList<QByteArray> &reports, Interface iface)
{
    if (reports.isEmpty())
        return;
    if (!m_shared) {
        (iface == Interface::Command ? m_dataInput : m_events) += reports;
    } else if (m_sharedHandles.isEmpty()) {
        m_sharedWaiting += reports;
    } else {
        for (Handle *handle : std::as_const(m_sharedHandles))
            handle->inbox += reports;
    }
    m_inputArrived.wakeAll();
}

QList<QByteArray> &SimulatedG7::inputQueue(HidHandle *dev)
{
    auto *handle = static_cast<Handle *>(dev);
    if (m_shared)
        return handle->inbox;
    return handle->iface == Interface::Command ? m_dataInput : m_events;
}

G7FirmwareState SimulatedG7::state() const
{
    QMutexLocker lock(&m_mutex);
    return m_firmware.state;
}

void SimulatedG7::setState(const G7FirmwareState &state)
{
    QMutexLocker lock(&m_mutex);
    m_firmware.state = state;
}

QList<QByteArray> SimulatedG7::acceptedBlocks() const
{
    QMutexLocker lock(&m_mutex);
    return m_firmware.acceptedBlocks;
}

QList<QByteArray> SimulatedG7::ignoredBlocks() const
{
    QMutexLocker lock(&m_mutex);
    return m_firmware.ignoredBlocks;
}

QList<QByteArray> SimulatedG7::dataReports() const
{
    QMutexLocker lock(&m_mutex);
    return m_firmware.dataReports;
}

int SimulatedG7::strayDataReports() const
{
    QMutexLocker lock(&m_mutex);
    return m_firmware.strayDataReports;
}

bool SimulatedG7::isPlugged() const
{
    QMutexLocker lock(&m_mutex);
    return m_plugged;
}

void SimulatedG7::plug()
{
    {
        QMutexLocker lock(&m_mutex);
        if (m_plugged)
            return;
        m_plugged = true;
        m_firmware.restart();
    }
    emit devicesChanged();
}

void SimulatedG7::unplugLocked()
{
    m_plugged = false;
    ++m_plugGeneration;
    m_dataInput.clear();
    m_events.clear();
    m_sharedWaiting.clear();
    for (Handle *handle : std::as_const(m_sharedHandles))
        handle->inbox.clear();
    m_unplugAfter = -1;
    m_inputArrived.wakeAll();
}

void SimulatedG7::unplug()
{
    {
        QMutexLocker lock(&m_mutex);
        if (!m_plugged)
            return;
        unplugLocked();
    }
    emit devicesChanged();
}

void SimulatedG7::setListing(const QList<Interface> &listing)
{
    QMutexLocker lock(&m_mutex);
    m_listing = listing;
}

void SimulatedG7::emitDpiEvent(int stage)
{
    QMutexLocker lock(&m_mutex);
    if (!m_plugged)
        return;
    if (stage >= 1 && stage <= 8)
        m_firmware.state.dpiStage = quint8(stage - 1);
    const char report[4] = {0x06, 0x07, 0x00, char(stage)};
    arriveInput({QByteArray(report, 4)}, Interface::Event);
}

void SimulatedG7::queueEvent(const QByteArray &report)
{
    QMutexLocker lock(&m_mutex);
    if (!m_plugged)
        return;
    arriveInput({report}, Interface::Event);
}

int SimulatedG7::pendingEvents() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_events.size());
}

void SimulatedG7::setScrambling(bool on, const QByteArray &sixCharCode)
{
    QMutexLocker lock(&m_mutex);
    m_scrambling = on;
    std::memset(m_code, 0, sizeof m_code);
    for (int i = 0; i < 6 && i < sixCharCode.size(); ++i)
        m_code[1 + i] = static_cast<unsigned char>(sixCharCode.at(i));
    m_firmware.secrecyCode = sixCharCode;
}

void SimulatedG7::failCall(Call call, int nth, int times)
{
    QMutexLocker lock(&m_mutex);
    m_faults[int(call)] = Fault{std::max(nth, 1), times};
}

void SimulatedG7::unplugAfterDataReports(int count)
{
    QMutexLocker lock(&m_mutex);
    m_unplugAfter = count;
}

void SimulatedG7::setShortReports(int maxBytes)
{
    QMutexLocker lock(&m_mutex);
    m_shortReports = std::max(maxBytes, 0);
}

void SimulatedG7::setSilent(bool silent)
{
    QMutexLocker lock(&m_mutex);
    m_silent = silent;
    m_inputArrived.wakeAll();
}

void SimulatedG7::clearFaults()
{
    QMutexLocker lock(&m_mutex);
    for (Fault &fault : m_faults)
        fault = Fault();
    m_unplugAfter = -1;
    m_shortReports = 0;
    m_silent = false;
}

int SimulatedG7::openHandles() const
{
    QMutexLocker lock(&m_mutex);
    return m_openHandles;
}

int SimulatedG7::openCount(Interface iface) const
{
    QMutexLocker lock(&m_mutex);
    return m_openCount[indexOf(iface)];
}

bool SimulatedG7::failing(Call call)
{
    Fault &fault = m_faults[int(call)];
    if (fault.countdown <= 0 || --fault.countdown > 0)
        return false;
    // This call fails; keep failing the following ones while times lasts.
    if (fault.times < 0 || --fault.times > 0)
        fault.countdown = 1;
    return true;
}

bool SimulatedG7::valid(const HidHandle *dev) const
{
    const auto *handle = static_cast<const Handle *>(dev);
    return handle && m_plugged && handle->generation == m_plugGeneration;
}

bool SimulatedG7::countDataReport()
{
    return m_unplugAfter > 0 && --m_unplugAfter == 0;
}

HidDeviceInfo *SimulatedG7::enumerate(uint16_t vendor, uint16_t product)
{
    QMutexLocker lock(&m_mutex);
    if (!m_plugged || (vendor != 0 && vendor != vendorId) || (product != 0 && product != productId()))
        return nullptr;
    HidDeviceInfo *first = nullptr;
    HidDeviceInfo **tail = &first;
    int seen[2] = {};
    for (Interface iface : m_listing) {
        auto *info = new HidDeviceInfo;
        const Interface node = m_shared ? Interface::Command : iface;
        info->path = strdup(pathOf(node, seen[indexOf(iface)]++).constData());
        info->vendorId = vendorId;
        info->productId = productId();
        info->usagePage = iface == Interface::Command ? commandUsagePage : eventUsagePage;
        info->usage = vendorUsage;
        info->interfaceNumber = indexOf(iface) + 1;
        *tail = info;
        tail = &info->next;
    }
    return first;
}

void SimulatedG7::freeEnumeration(HidDeviceInfo *devs)
{
    freeDeviceInfoList(devs);
}

HidHandle *SimulatedG7::openPath(const char *path)
{
    QMutexLocker lock(&m_mutex);
    if (!path)
        return nullptr;
    const QByteArray wanted(path);
    for (Interface iface : {Interface::Command, Interface::Event}) {
        const QByteArray base = pathOf(iface);
        if (wanted != base && !wanted.startsWith(base + '#'))
            continue;
        const Call call = iface == Interface::Command ? Call::OpenCommand : Call::OpenEvent;
        if (!m_plugged || failing(call))
            return nullptr;
        ++m_openHandles;
        ++m_openCount[indexOf(iface)];
        auto *handle = new Handle(iface, m_plugGeneration);
        if (m_shared) {
            handle->inbox = std::exchange(m_sharedWaiting, {});
            m_sharedHandles.append(handle);
        }
        return handle;
    }
    return nullptr;
}

void SimulatedG7::close(HidHandle *dev)
{
    if (!dev)
        return;
    {
        QMutexLocker lock(&m_mutex);
        --m_openHandles;
        auto *handle = static_cast<Handle *>(dev);
        // What the last open handle left unread waits for the next one.
        if (m_sharedHandles.removeOne(handle) && m_sharedHandles.isEmpty() && valid(dev))
            m_sharedWaiting = handle->inbox + m_sharedWaiting;
    }
    delete dev;
}

int SimulatedG7::setNonblocking(HidHandle *dev, int nonblock)
{
    QMutexLocker lock(&m_mutex);
    if (!valid(dev))
        return -1;
    static_cast<Handle *>(dev)->nonblocking = nonblock != 0;
    return 0;
}

int SimulatedG7::sendFeatureReport(HidHandle *dev, const unsigned char *data, size_t length)
{
    QMutexLocker lock(&m_mutex);
    if (!valid(dev) || static_cast<Handle *>(dev)->iface != Interface::Command || !data || length == 0
        || failing(Call::FeatureOut))
        return -1;
    unsigned char block[8] = {};
    std::memcpy(block, data + 1, std::min(length - 1, sizeof block));
    if (data[0] != 0 || length < size_t(featureReportLength)) {
        m_firmware.refuseReport(QByteArray(reinterpret_cast<const char *>(data), int(length)));
        return int(length);
    }
    if (m_scrambling)
        unscrambleBlock(block, m_code);
    m_firmware.receiveBlock(block);
    QList<QByteArray> input = m_firmware.takeInputReports();
    if (!m_shared)
        m_dataInput.clear();    // a new query's reports replace those nobody read
    if (!input.isEmpty() && !m_eventWithNextInput.isEmpty()) {
        // The press lands on the event collection; on a shared node that is every handle.
        const QByteArray event = std::exchange(m_eventWithNextInput, {});
        if (m_shared)
            input.prepend(event);
        else
            arriveInput({event}, Interface::Event);
    }
    arriveInput(input, Interface::Command);
    return int(length);
}

int SimulatedG7::getFeatureReport(HidHandle *dev, unsigned char *data, size_t length)
{
    QMutexLocker lock(&m_mutex);
    if (!valid(dev) || static_cast<Handle *>(dev)->iface != Interface::Command || !data || length == 0
        || failing(Call::FeatureIn))
        return -1;
    std::array<unsigned char, 8> reply = m_firmware.replyBlock();
    if (m_scrambling)
        scrambleBlock(reply.data(), m_code);
    data[0] = 0;
    size_t delivered = std::min(length, size_t(featureReportLength));
    if (m_shortReports > 0)
        delivered = std::min(delivered, size_t(m_shortReports));
    if (delivered > 1)
        std::memcpy(data + 1, reply.data(), delivered - 1);
    return int(delivered);
}

int SimulatedG7::write(HidHandle *dev, const unsigned char *data, size_t length)
{
    bool unplugNow = false;
    {
        QMutexLocker lock(&m_mutex);
        if (!valid(dev) || static_cast<Handle *>(dev)->iface != Interface::Command || !data || length == 0
            || failing(Call::DataOut))
            return -1;
        // Byte 0 is the report ID; the firmware sees the rest.
        m_firmware.receiveDataReport(data + 1, length - 1);
        unplugNow = countDataReport();
        if (unplugNow)
            unplugLocked();
    }
    if (unplugNow)
        emit devicesChanged();
    return int(length);
}

SimulatedG7::Call SimulatedG7::readCall(const HidHandle *dev) const
{
    return static_cast<const Handle *>(dev)->iface == Interface::Command ? Call::DataIn : Call::EventIn;
}

int SimulatedG7::deliver(QByteArray report, unsigned char *data, size_t length)
{
    if (m_shortReports > 0)
        report.truncate(m_shortReports);
    const size_t n = std::min(length, size_t(report.size()));
    std::memcpy(data, report.constData(), n);
    return int(n);
}

int SimulatedG7::readReport(HidHandle *dev, unsigned char *data, size_t length, int milliseconds)
{
    bool unplugNow = false;
    int result = 0;
    {
        QMutexLocker lock(&m_mutex);
        if (!valid(dev) || !data || failing(readCall(dev)))
            return -1;
        auto *handle = static_cast<Handle *>(dev);
        QList<QByteArray> &queue = inputQueue(dev);
        const bool blocking = milliseconds < 0;
        const QDeadlineTimer deadline(blocking ? readCapMs : milliseconds);
        while (m_silent || queue.isEmpty()) {
            if (!m_inputArrived.wait(&m_mutex, deadline) || deadline.hasExpired()) {
                if (!valid(dev))
                    return -1;
                if (m_silent || queue.isEmpty())
                    return blocking ? -1 : 0;
                break;
            }
            if (!valid(dev))
                return -1;
        }
        const QByteArray report = queue.takeFirst();
        result = deliver(report, data, length);
        if (handle->iface == Interface::Command && !(m_shared && report.startsWith("\x06\x07"))) {
            unplugNow = countDataReport();
            if (unplugNow)
                unplugLocked();
        }
    }
    if (unplugNow)
        emit devicesChanged();
    return result;
}

int SimulatedG7::read(HidHandle *dev, unsigned char *data, size_t length)
{
    bool nonblocking = false;
    {
        QMutexLocker lock(&m_mutex);
        nonblocking = valid(dev) && static_cast<Handle *>(dev)->nonblocking;
    }
    // Like hidapi: hid_read waits only on a blocking handle.
    return readReport(dev, data, length, nonblocking ? 0 : -1);
}

int SimulatedG7::readTimeout(HidHandle *dev, unsigned char *data, size_t length, int milliseconds)
{
    return readReport(dev, data, length, milliseconds);
}
