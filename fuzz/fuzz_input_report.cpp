// The receive road: the input is a run of 16-byte input reports (a shorter
// tail is a short read). Each report goes through the decoder; each frame it
// yields goes through the dispatcher of a session whose host checks every
// request. A report that cannot be decoded and starts with 'C', 'D' or 'Q'
// connects, disconnects or quits, so those roads meet every state too. The
// first byte picks the language, the selected preset and auto-save.

#include <algorithm>

#include "device/frame.h"
#include "device_checks.h"

namespace {

// Frame byte i of an input report is byte i + 1 of the output buffer.
constexpr int kSharedBytes[] = { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14 };

void checkDecoded(
    const uint8_t* r, int length, const std::optional<qv_hid_new::CustomHidFrameInfo>& f)
{
    const bool wellFormed = length == kFrameReportSize && r[0] == 0x22 && r[1] == 0x33
        && r[13] == 0x66 && r[14] == 0x77 && (r[5] | r[6]) != 0;
    FUZZ_CHECK(f.has_value() == wellFormed);
    if (!f)
        return;
    FUZZ_CHECK(f->cmd != 0 && f->cmd <= 0xFFFF && f->protocol <= 0xFF);
    const OutputReport out = encodeFrame(*f);
    for (int i : kSharedBytes)
        FUZZ_CHECK(out[i + 1] == r[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t setup = data[0];
    fuzz::resetDeviceState(setup & 1);
    fuzz::CheckingHost host;
    host.selected = (setup & 2) ? 100 + (setup >> 4) % kDevicePresetSlots : (setup >> 4);
    host.autoSaveOn = setup & 4;
    bool inactive = false;
    DeviceSession session(host, host, &inactive);

    for (size_t at = 1; at < size; at += kFrameReportSize) {
        const int length = int(std::min<size_t>(kFrameReportSize, size - at));
        const uint8_t* report = data + at; // a short tail stays short: no read past it
        const auto frame = decodeInputReport(report, length);
        checkDecoded(report, length, frame);
        if (frame) {
            session.route(*frame);
        } else if (report[0] == 'C') {
            session.connected();
        } else if (report[0] == 'D') {
            session.disconnected();
        } else if (report[0] == 'Q') {
            session.aboutToQuit();
        }
        fuzz::checkDeviceState();
    }
    return 0;
}
