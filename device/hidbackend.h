#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The seam between the device layer and the HID interfaces: one call for every
// hidapi function the program uses, with hidapi's arguments and results.
// RealHidBackend forwards to hidapi, SimulatedG7 models the mouse's firmware and
// TracingBackend wraps either of them and writes the report trace.

struct HidDeviceInfo {
    char *path = nullptr;            // owned by the enumeration
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    int interfaceNumber = -1;
    HidDeviceInfo *next = nullptr;
};

// An open interface; each backend derives its own.
class HidHandle {
public:
    virtual ~HidHandle() = default;
};

class HidBackend {
public:
    virtual ~HidBackend() = default;

    // hid_enumerate / hid_free_enumeration: a linked list, null when nothing matches.
    virtual HidDeviceInfo *enumerate(uint16_t vendorId, uint16_t productId) = 0;
    virtual void freeEnumeration(HidDeviceInfo *devs) = 0;

    // hid_open_path / hid_close: null on failure.
    virtual HidHandle *openPath(const char *path) = 0;
    virtual void close(HidHandle *dev) = 0;

    // The transfer calls return what hidapi returns: bytes moved, 0 for a read
    // that timed out, -1 on error.
    virtual int setNonblocking(HidHandle *dev, int nonblock) = 0;
    virtual int sendFeatureReport(HidHandle *dev, const unsigned char *data, size_t length) = 0;
    virtual int getFeatureReport(HidHandle *dev, unsigned char *data, size_t length) = 0;
    virtual int write(HidHandle *dev, const unsigned char *data, size_t length) = 0;
    virtual int read(HidHandle *dev, unsigned char *data, size_t length) = 0;
    virtual int readTimeout(HidHandle *dev, unsigned char *data, size_t length, int milliseconds) = 0;
};

// Declares every HidBackend function as an override, for a backend that implements them all.
#define G7_HID_BACKEND_OVERRIDES \
    HidDeviceInfo *enumerate(uint16_t vendorId, uint16_t productId) override; \
    void freeEnumeration(HidDeviceInfo *devs) override; \
    HidHandle *openPath(const char *path) override; \
    void close(HidHandle *dev) override; \
    int setNonblocking(HidHandle *dev, int nonblock) override; \
    int sendFeatureReport(HidHandle *dev, const unsigned char *data, size_t length) override; \
    int getFeatureReport(HidHandle *dev, unsigned char *data, size_t length) override; \
    int write(HidHandle *dev, const unsigned char *data, size_t length) override; \
    int read(HidHandle *dev, unsigned char *data, size_t length) override; \
    int readTimeout(HidHandle *dev, unsigned char *data, size_t length, int milliseconds) override;

// Frees a list whose nodes were made with new and whose paths with malloc
// (strdup), as every backend here builds its enumerations.
void freeDeviceInfoList(HidDeviceInfo *devs);

// The backend the device layer uses. Start-up installs one before the first
// discovery; tests install their own. Never null: without an installed backend
// the real hidapi is used.
HidBackend &hidBackend();
void setHidBackend(std::shared_ptr<HidBackend> backend);
