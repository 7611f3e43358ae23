#pragma once

#include "hidbackend.h"

#include <atomic>

// The attached hardware, through hidapi.
class RealHidBackend : public HidBackend
{
public:
    RealHidBackend();
    ~RealHidBackend() override;

    G7_HID_BACKEND_OVERRIDES

private:
    static std::atomic<int> s_instances;
};
