#pragma once

// The road by which frames leave the program. A road takes the frames in the
// order they go out, applies the connection rule (hid_status) and hands them
// one by one to its sender: the open device, or what stands for it where a
// session is driven without one.

#include "device/frame.h"

#include <functional>

// Which frames wait for the device's answer to the hello.
enum class FrameRule {
    WhileConnected, // editing frames and the quit frame: only while hid_status is 1
    Always, // the hello and the echoes
};

class FrameRoad
{
public:
    using Sender = std::function<void(const qv_hid_new::CustomHidFrameInfo&)>;

    explicit FrameRoad(Sender sender)
        : m_sender(std::move(sender))
    {
    }

    // Hands every frame to the sender in order, or none when the rule holds
    // them back (hid_status is read once, before the first); a failed write
    // does not stop the rest. True when the frames went.
    bool send(const FrameList& frames, FrameRule rule = FrameRule::WhileConnected) const;
    bool send(uint32_t cmd, int32_t data, FrameRule rule = FrameRule::WhileConnected) const;

private:
    Sender m_sender;
};

// The road every screen sends by: its sender is the open device
// (qv_hid_new_send::qv_frame).
const FrameRoad& frameRoad();
