#include "device/set_upload.h"

#include <cmath>
#include <limits>

#include "dsp/value_deal.h"

namespace {

constexpr uint32_t kUploadCommand = 0x9E01;
constexpr uint32_t kPreampGroup = 0x9C00;

// Toward zero, held within int32 (NaN gives 0): values from a file or a
// device must not make the conversion undefined.
int32_t truncated(double v)
{
    if (std::isnan(v))
        return 0;
    if (v >= double(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (v <= double(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return int32_t(v);
}

qv_hid_new::CustomHidFrameInfo frame(uint32_t cmd, int32_t data)
{
    qv_hid_new::CustomHidFrameInfo f;
    f.cmd = cmd;
    f.data = data;
    return f;
}

}  // namespace

QList<qv_hid_new::CustomHidFrameInfo> wholeSetFrames(EQ_data* const left[12],
                                                     EQ_data* const right[12], bool gainTenths)
{
    QList<qv_hid_new::CustomHidFrameInfo> out;
    out.reserve(kWholeSetFrameCount);
    out.append(frame(kUploadCommand, 1));
    EQ_data* const* const sides[] = {left, right};
    for (int side = 0; side < 2; ++side) {
        const EQ_data& preamp = *sides[side][0];
        const uint32_t base = kPreampGroup + 1 + 2 * side;
        out.append(frame(base, int32_t(value_deal::Get_Modulus(truncated(preamp.gain * 10.0)))));
        out.append(frame(base + 1, preamp.status));
    }
    const double gainScale = gainTenths ? 10.0 : 2.0;
    for (int b = 1; b <= 11; ++b) {
        const uint32_t group = uint32_t(0x90 + b) << 8;
        for (int side = 0; side < 2; ++side) {
            const EQ_data& band = *sides[side][b];
            const uint32_t base = group + 1 + 5 * side;
            out.append(frame(base, band.type));
            out.append(frame(base + 1, band.center_frequency));
            out.append(frame(base + 2, truncated(band.gain * gainScale)));
            out.append(frame(base + 3, truncated(band.Q * 10000.0)));
            out.append(frame(base + 4, band.status));
        }
    }
    out.append(frame(kUploadCommand, 0));
    return out;
}
