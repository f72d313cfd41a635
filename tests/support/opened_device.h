#pragma once

// The simulated device plugged in and opened as the program's device, for
// tests that stopped the device threads and only look at the frames written.
// Closed and forgotten again at the end of the scope.

#include "device/hid_device.h"
#include "simhid.h"

class OpenedDevice
{
public:
    OpenedDevice()
        : engine(sim::Engine::instance())
    {
        engine.reset();
        engine.plug();
        handle = hid_open(QV_VENDOR_ID, QV_PRODUCT_ID, nullptr);
        if (handle)
            scard_device = new qv_device(handle);
    }
    ~OpenedDevice()
    {
        if (handle)
            hid_close(handle);
        delete scard_device;
        scard_device = nullptr;
        engine.reset();
    }
    OpenedDevice(const OpenedDevice&) = delete;
    OpenedDevice& operator=(const OpenedDevice&) = delete;

    bool isOpen() const { return handle != nullptr; }

    sim::Engine& engine;

private:
    hid_device* handle = nullptr;
};
