#pragma once

// A window test that holds the simulated device itself: the program's link
// threads are stopped and the device is opened directly, so frames are
// written at once and "connected" is whatever the test sets hid_status to.

#include "device/hid_device.h"
#include "device/threads.h"
#include "simhid.h"

class HeldDevice
{
public:
    // Call after the window is made (its construction starts the search).
    bool take()
    {
        if (!stopDeviceThreads())
            return false;
        sim::Engine::instance().plug();
        m_handle = hid_open(QV_VENDOR_ID, QV_PRODUCT_ID, nullptr);
        if (!m_handle)
            return false;
        scard_device = new qv_device(m_handle);
        return true;
    }

    // Call after the window is gone.
    void release()
    {
        hid_close(m_handle);
        delete scard_device;
        scard_device = nullptr;
        sim::Engine::instance().reset();
    }

private:
    hid_device* m_handle = nullptr;
};
