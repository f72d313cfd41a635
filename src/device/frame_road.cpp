#include "device/frame_road.h"

#include "device/device_state.h"
#include "device/hid_device.h"

bool FrameRoad::send(const FrameList& frames, FrameRule rule) const
{
    if (rule == FrameRule::WhileConnected && hid_status != 1)
        return false;
    for (const qv_hid_new::CustomHidFrameInfo& f : frames)
        m_sender(f);
    return true;
}

bool FrameRoad::send(uint32_t cmd, int32_t data, FrameRule rule) const
{
    return send(FrameList { makeFrame(cmd, data) }, rule);
}

const FrameRoad& frameRoad()
{
    static const FrameRoad road(
        [](const qv_hid_new::CustomHidFrameInfo& f) { qv_hid_new_send().qv_frame(f); });
    return road;
}
