// Device preset streams and records. The low two bits of the first byte
// pick the road, the others its settings:
//  0  the one-set user stream (0x1106 under EQ state 0 or 1),
//  1  the left/right stream (0x1106 under EQ state 128, 129 or a tenths
//     code), headers announcing any number of records,
//  2  the factory stream (0x1113),
//  3  one record's words straight into the record readers, then the record
//     builders and back: what the program sends reads back as it stored it,
//     held to the editor's ranges.
// On the stream roads the rest is a run of 7-byte frames: kind, total,
// current and four data bytes; kinds mix the road's stream with single
// words, EQ state codes, mask frames and slot reports.

#include <algorithm>
#include <array>
#include <cmath>

#include "device_checks.h"
#include "dsp/value_deal.h"

namespace {

using Frame = qv_hid_new::CustomHidFrameInfo;

int32_t wordAt(const uint8_t* p)
{
    return int32_t(
        uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

uint32_t commandOf(uint8_t kind, uint32_t stream)
{
    switch (kind % 10) {
    case 6:
        return 0x1105;
    case 7:
        return 0x1204;
    case 8:
        return 0x1212;
    case 9:
        return 0x1206;
    default:
        return stream;
    }
}

void runStream(int road, const uint8_t* data, size_t size)
{
    const uint8_t setup = data[0] >> 2;
    fuzz::resetDeviceState(1);
    static constexpr int32_t kLeftRightCodes[] = { 128, 129, 192, 193 };
    status_bar_value.device_eq_status = road == 1 ? kLeftRightCodes[setup & 3] : (setup & 1);
    Gain_flag = status_bar_value.device_eq_status >= 192;
    execute_biaozhi = false;
    fuzz::CheckingHost host;
    DeviceSession session(host, host);
    const uint32_t stream = road == 2 ? 0x1113 : 0x1106;
    for (size_t at = 1; at + 7 <= size; at += 7) {
        Frame f;
        f.cmd = commandOf(data[at], stream);
        f.total = data[at + 1];
        f.current = data[at + 2];
        f.data = wordAt(data + at + 3);
        session.dispatch(f);
        fuzz::checkDeviceState();
    }
}

// A preset record of the program's own, with band records of its own.
struct OwnRecord
{
    std::array<EQ_data, 12> bands;
    EQ_config_data preset;
    OwnRecord()
    {
        for (int k = 0; k < 12; ++k)
            preset.eq[k] = &bands[k];
    }
};

// The Q a record builder sends.
double sentQ(double q) { return std::clamp(q, kBandMinQ, kBandMaxQ); }

// `sent` went through the builder and the reader again; `stored` is what
// the reader made of the device's words first.
void checkBandRoundTrip(const EQ_data& stored, const EQ_data& sent, double stepsPerDb)
{
    FUZZ_CHECK(sent.status == stored.status);
    FUZZ_CHECK(int8_t(sent.type) == int8_t(stored.type));
    FUZZ_CHECK(
        sent.center_frequency == std::clamp(stored.center_frequency, kBandMinHz, kBandMaxHz));
    const double gain = std::clamp(stored.gain, -kBandGainLimitDb, kBandGainLimitDb);
    FUZZ_CHECK(sent.gain == std::trunc(gain * stepsPerDb) / stepsPerDb);
    // Q travels truncated to ten-thousandths: at most one step lower.
    const double q = sentQ(stored.Q);
    FUZZ_CHECK(sent.Q <= q + 1e-12 && sent.Q >= q - 1.0001e-4);
}

void checkPreampRoundTrip(const EQ_data& stored, const EQ_data& sent)
{
    FUZZ_CHECK(sent.status == stored.status);
    FUZZ_CHECK(std::fabs(sent.gain - stored.gain) < 1e-9);
}

void runRecords(const uint8_t* data, size_t size)
{
    const uint8_t setup = data[0] >> 2;
    std::array<int32_t, kLeftRightRecordWords> words {};
    for (size_t w = 0; w < words.size() && 1 + 4 * w + 4 <= size; ++w)
        words[w] = wordAt(data + 1 + 4 * w);
    const RecordBuilder builder = (setup & 1) ? RecordBuilder::Save : RecordBuilder::Store;
    const bool gainFlag = setup & 2;
    const int nameLimit = builder == RecordBuilder::Store ? kStoreNameBytes : kSaveNameBytes;

    // One set.
    OwnRecord first;
    const OneSetRecord oneSet = parseOneSetRecord(words.data());
    storeOneSetRecord(first.preset, oneSet, setup & 4);
    fuzz::checkDeviceRecord(first.preset);
    const std::vector<int32_t> oneWords = packDeviceRecord(RecordLayout::OneSet, builder,
        first.preset.config_name, first.preset, first.preset, gainFlag);
    FUZZ_CHECK(oneWords.size() == size_t(kOneSetRecordWords));
    if (bandGainFactor(builder, RecordLayout::OneSet, gainFlag) == 2) {
        OwnRecord again;
        storeOneSetRecord(again.preset, parseOneSetRecord(oneWords.data()), setup & 4);
        FUZZ_CHECK(again.preset.config_name
            == QString::fromUtf8(recordNameBytes(first.preset.config_name, nameLimit)));
        checkPreampRoundTrip(*first.preset.eq[0], *again.preset.eq[0]);
        for (int n = 1; n <= kRecordBandsRead; ++n)
            checkBandRoundTrip(*first.preset.eq[n], *again.preset.eq[n], 2.0);
    }

    // Left and right.
    const double steps = gainFlag ? 10.0 : 2.0;
    OwnRecord left, right;
    const LeftRightRecord both = parseLeftRightRecord(words.data());
    storeLeftRightRecord(left.preset, right.preset, both, steps);
    fuzz::checkDeviceRecord(left.preset);
    fuzz::checkDeviceRecord(right.preset);
    const std::vector<int32_t> lrWords = packDeviceRecord(RecordLayout::LeftRight, builder,
        left.preset.config_name, left.preset, right.preset, gainFlag);
    FUZZ_CHECK(lrWords.size() == size_t(kLeftRightRecordWords));
    OwnRecord left2, right2;
    storeLeftRightRecord(left2.preset, right2.preset, parseLeftRightRecord(lrWords.data()), steps);
    FUZZ_CHECK(left2.preset.config_name
        == QString::fromUtf8(recordNameBytes(left.preset.config_name, nameLimit)));
    checkPreampRoundTrip(*left.preset.eq[0], *left2.preset.eq[0]);
    checkPreampRoundTrip(*right.preset.eq[0], *right2.preset.eq[0]);
    for (int n = 1; n <= kRecordBandsRead; ++n) {
        checkBandRoundTrip(*left.preset.eq[n], *left2.preset.eq[n], steps);
        checkBandRoundTrip(*right.preset.eq[n], *right2.preset.eq[n], steps);
    }

    // The staging lists keep the record and give it back in tenths.
    fuzz::resetDeviceState(1);
    const int slot = setup >> 3;
    stageLeftRightRecord(slot, both);
    refreshFromStaging(slot + 1);
    fuzz::checkDeviceState();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int road = data[0] & 3;
    if (road == 3)
        runRecords(data, size);
    else
        runStream(road, data, size);
    return 0;
}
