#include "device/frame.h"

#include <QDebug>

void registerFrameMetaType()
{
    qRegisterMetaType<qv_hid_new::CustomHidFrameInfo>("qv_hid_new::CustomHidFrameInfo");
}

OutputReport encodeFrame(const qv_hid_new::CustomHidFrameInfo& info)
{
    const auto d = static_cast<uint32_t>(info.data);
    return OutputReport { 0x00, // unnumbered report: not transmitted
        0x22, 0x33, static_cast<uint8_t>(info.protocol), info.total, info.current,
        static_cast<uint8_t>(info.cmd >> 8), static_cast<uint8_t>(info.cmd),
        static_cast<uint8_t>(d >> 24), static_cast<uint8_t>(d >> 16), static_cast<uint8_t>(d >> 8),
        static_cast<uint8_t>(d), 0x00, 0x00, 0x66, 0x77 };
}

std::optional<qv_hid_new::CustomHidFrameInfo> decodeInputReport(const uint8_t* r, int length)
{
    if (length != kFrameReportSize || r[0] != 0x22 || r[1] != 0x33 || r[13] != 0x66
        || r[14] != 0x77)
        return std::nullopt;
    const uint32_t cmd = (uint32_t(r[5]) << 8) | r[6];
    if (cmd == 0)
        return std::nullopt;
    qv_hid_new::CustomHidFrameInfo info;
    info.cmd = cmd;
    info.data = static_cast<int32_t>(
        (uint32_t(r[7]) << 24) | (uint32_t(r[8]) << 16) | (uint32_t(r[9]) << 8) | uint32_t(r[10]));
    info.total = r[3];
    info.current = r[4];
    info.protocol = r[2];
    return info;
}

void logSentFrame(const qv_hid_new::CustomHidFrameInfo& f)
{
    qDebug("send cmd:0x%X data:%d total:%d current:%d protocl:0x%X", f.cmd, f.data, f.total,
        f.current, f.protocol);
}

void logReceivedFrame(const qv_hid_new::CustomHidFrameInfo& f)
{
    qDebug("recv cmd:0x%X data:%d total:%d current:%d protocl:0x%X", f.cmd, f.data, f.total,
        f.current, f.protocol);
}
