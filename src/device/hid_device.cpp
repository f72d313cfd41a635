#include "device/hid_device.h"

qv_device* scard_device = nullptr;

unsigned short qv_hid_new_send::qv_frame(qv_hid_new::CustomHidFrameInfo info)
{
    const OutputReport buffer = encodeFrame(info);
    logSentFrame(info);
    // A closed (lost) handle must never reach hid_write: the library frees it.
    hid_device* h = scard_device ? scard_device->handle : nullptr;
    if (!h)
        return 0xFFFF;
    return static_cast<unsigned short>(hid_write(h, buffer.data(), buffer.size()));
}
