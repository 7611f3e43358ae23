#include "realhidbackend.h"

#include <hidapi/hidapi.h>

#include <cstdlib>
#include <cstring>

namespace {

class RealHandle : public HidHandle
{
public:
    explicit RealHandle(hid_device *device) : device(device) {}
    hid_device *device;
};

hid_device *deviceOf(HidHandle *handle)
{
    auto *real = static_cast<RealHandle *>(handle);
    return real ? real->device : nullptr;
}

} // namespace

// hidapi's library state is process-wide: the last backend to go frees it.
std::atomic<int> RealHidBackend::s_instances{0};

RealHidBackend::RealHidBackend()
{
    if (s_instances++ == 0)
        hid_init();
}

RealHidBackend::~RealHidBackend()
{
    if (--s_instances == 0)
        hid_exit();
}

HidDeviceInfo *RealHidBackend::enumerate(uint16_t vendorId, uint16_t productId)
{
    hid_device_info *found = hid_enumerate(vendorId, productId);
    HidDeviceInfo *first = nullptr;
    HidDeviceInfo **tail = &first;
    for (const hid_device_info *info = found; info; info = info->next) {
        auto *copy = new HidDeviceInfo;
        copy->path = strdup(info->path ? info->path : "");
        copy->vendorId = info->vendor_id;
        copy->productId = info->product_id;
        copy->usagePage = info->usage_page;
        copy->usage = info->usage;
        copy->interfaceNumber = info->interface_number;
        *tail = copy;
        tail = &copy->next;
    }
    hid_free_enumeration(found);
    return first;
}

void RealHidBackend::freeEnumeration(HidDeviceInfo *devs)
{
    freeDeviceInfoList(devs);
}

HidHandle *RealHidBackend::openPath(const char *path)
{
    hid_device *device = path ? hid_open_path(path) : nullptr;
    return device ? new RealHandle(device) : nullptr;
}

void RealHidBackend::close(HidHandle *dev)
{
    if (!dev)
        return;
    hid_close(deviceOf(dev));
    delete dev;
}

int RealHidBackend::setNonblocking(HidHandle *dev, int nonblock)
{
    return dev ? hid_set_nonblocking(deviceOf(dev), nonblock) : -1;
}

int RealHidBackend::sendFeatureReport(HidHandle *dev, const unsigned char *data, size_t length)
{
    return dev ? hid_send_feature_report(deviceOf(dev), data, length) : -1;
}

int RealHidBackend::getFeatureReport(HidHandle *dev, unsigned char *data, size_t length)
{
    return dev ? hid_get_feature_report(deviceOf(dev), data, length) : -1;
}

int RealHidBackend::write(HidHandle *dev, const unsigned char *data, size_t length)
{
    return dev ? hid_write(deviceOf(dev), data, length) : -1;
}

int RealHidBackend::read(HidHandle *dev, unsigned char *data, size_t length)
{
    return dev ? hid_read(deviceOf(dev), data, length) : -1;
}

int RealHidBackend::readTimeout(HidHandle *dev, unsigned char *data, size_t length, int milliseconds)
{
    return dev ? hid_read_timeout(deviceOf(dev), data, length, milliseconds) : -1;
}
