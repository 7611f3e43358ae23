#pragma once

#include "discovery.h"
#include "hid_thread.h"
#include "pauses.h"
#include "simulatedg7.h"
#include "storefile.h"

#include <QCoreApplication>
#include <QThread>

#include <algorithm>
#include <cstring>

// The simulated mouse, but every reply and every input report it delivers is
// taken from the fuzz case: one byte chooses the length (-1 for a failed call,
// 0 up to the buffer's size), the bytes after it are the report. When the case
// is used up, reads fail and the mouse is unplugged.
class FuzzedMouse : public SimulatedG7
{
public:
    FuzzedMouse(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}

    int getFeatureReport(HidHandle *dev, unsigned char *data, size_t length) override
    {
        return next(dev, data, length);
    }
    int readTimeout(HidHandle *dev, unsigned char *data, size_t length, int) override
    {
        return next(dev, data, length);
    }

    bool exhausted() const { return m_pos >= m_size; }

    int takeByte() { return m_pos < m_size ? m_data[m_pos++] : 0; }

private:
    int next(HidHandle *, unsigned char *data, size_t length)
    {
        // A monitor loop the connect step started reads on a pool thread; the
        // case is for the GUI thread's replies, the loop only hears silence.
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) {
            QThread::msleep(1);
            return 0;
        }
        if (exhausted()) {
            unplug();
            return -1;
        }
        const int count = takeByte() % int(length + 2) - 1;
        if (count < 0)
            return -1;
        const size_t available = std::min(size_t(count), m_size - m_pos);
        std::memset(data, 0, length);
        std::memcpy(data, m_data + m_pos, available);
        m_pos += available;
        return count;
    }

    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

// A device object that found the simulated mouse through the shipped catalogue.
inline void attach(Hid_Thread &hid) { findCataloguedDevices(hid, StoreFile::format(), {}, QStringLiteral(":/DevInfo.ini")); }
