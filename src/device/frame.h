#pragma once

// One frame of the device link: a 16-bit command and a 32-bit value, and its
// 15-byte wire form (output: report number 0 in front; input: one ignored
// byte behind). The lead and tail bytes are the only integrity check.

#include <QList>
#include <QMetaType>

#include <array>
#include <cstdint>
#include <optional>

constexpr uint32_t kProtocolByte = 0x20; // carried by every frame the program sends

class qv_hid_new
{
public:
    struct CustomHidFrameInfo
    {
        uint32_t cmd = 0; // only the low 16 bits travel
        int32_t data = 0;
        uint8_t total = 1; // frames in the message
        uint8_t current = 1; // position of this frame in the message
        uint32_t protocol = kProtocolByte; // only the low 8 bits travel
    };
};
Q_DECLARE_METATYPE(qv_hid_new::CustomHidFrameInfo)

// Frames in the order they go out.
using FrameList = QList<qv_hid_new::CustomHidFrameInfo>;

// A frame as the program sends it (protocol 0x20); one frame of one unless
// it is a word of a longer message.
inline qv_hid_new::CustomHidFrameInfo makeFrame(
    uint32_t cmd, int32_t data, uint8_t total = 1, uint8_t current = 1)
{
    qv_hid_new::CustomHidFrameInfo f;
    f.cmd = cmd;
    f.data = data;
    f.total = total;
    f.current = current;
    return f;
}

// Registers the record for queued signals; call before connecting them.
void registerFrameMetaType();

constexpr int kFrameReportSize = 16;

using OutputReport = std::array<uint8_t, kFrameReportSize>;

// The buffer handed to hid_write for a frame.
OutputReport encodeFrame(const qv_hid_new::CustomHidFrameInfo& info);

// The input-report test and decode: a report counts only when the read
// returned exactly 16 bytes, the lead and tail bytes match and the command is
// not 0. Anything else yields no frame.
std::optional<qv_hid_new::CustomHidFrameInfo> decodeInputReport(const uint8_t* report, int length);

// The debug lines every sent and received frame leaves.
void logSentFrame(const qv_hid_new::CustomHidFrameInfo& info);
void logReceivedFrame(const qv_hid_new::CustomHidFrameInfo& info);
