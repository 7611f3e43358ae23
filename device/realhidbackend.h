#pragma once

#include "hidbackend.h"

#include <atomic>

// The attached hardware, through hidapi.
class RealHidBackend : public HidBackend
{
public:
    RealHidBackend();
    ~RealHidBackend() override;

    HidDeviceInfo *enumerate(uint16_t vendorId, uint16_t productId) override;
    void freeEnumeration(HidDeviceInfo *devs) override;
    HidHandle *openPath(const char *path) override;
    void close(HidHandle *dev) override;
    int setNonblocking(HidHandle *dev, int nonblock) override;
    int sendFeatureReport(HidHandle *dev, const unsigned char *data, size_t length) override;
    int getFeatureReport(HidHandle *dev, unsigned char *data, size_t length) override;
    int write(HidHandle *dev, const unsigned char *data, size_t length) override;
    int read(HidHandle *dev, unsigned char *data, size_t length) override;
    int readTimeout(HidHandle *dev, unsigned char *data, size_t length, int milliseconds) override;

private:
    static std::atomic<int> s_instances;
};
