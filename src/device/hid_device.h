#pragma once

// The open device and the frame sender. Every frame is written synchronously
// by the GUI thread through the handle held by scard_device.

#include "device/frame.h"

#include <hidapi/hidapi.h>

// The one supported device, opened with no serial-number filter.
constexpr unsigned short QV_VENDOR_ID = 0x2FC6;
constexpr unsigned short QV_PRODUCT_ID = 0xA51E;

class qv_device
{
public:
    explicit qv_device(hid_device*& h)
        : handle(h)
    {
    }
    hid_device* handle = nullptr;
};

// The current device holder: null until the first open, and again once a
// lost device's handle has been closed. Written by the connect thread before
// it signals success, read by the GUI and receive threads after that.
extern qv_device* scard_device;

class qv_hid_new_send
{
public:
    qv_hid_new_send() { }
    ~qv_hid_new_send() { }

    // Logs and writes one frame; returns hid_write's result cut to 16 bits
    // (0xFFFF for a failed write, or when no device handle is open).
    unsigned short qv_frame(qv_hid_new::CustomHidFrameInfo info);
};
