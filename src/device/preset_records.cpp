#include "device/preset_records.h"

#include "device/device_state.h"
#include "dsp/value_deal.h"

#include <algorithm>

namespace {
constexpr int kNameBytes = 16;
constexpr int kBandBytes = 12;
constexpr int kOneSetBands = 24;      // byte offset of band 1
constexpr int kLeftBands = 32;
constexpr int kRightBands = 164;

QString recordName(const int32_t* words)
{
    QByteArray bytes;
    for (int i = 0; i < kNameBytes; ++i) {
        const uint8_t b = recordByte(words, i);
        if (b == 0)
            break;
        bytes.append(static_cast<char>(b));
    }
    return QString::fromUtf8(bytes);
}

DevicePreamp preampAt(const int32_t* words, int offset)
{
    return {recordByte(words, offset), recordInt32(words, offset + 4)};
}

std::array<DeviceBand, kRecordBandsRead> bandsAt(const int32_t* words, int offset)
{
    std::array<DeviceBand, kRecordBandsRead> bands;
    for (int n = 0; n < kRecordBandsRead; ++n) {
        const int at = offset + n * kBandBytes;
        bands[n] = {recordByte(words, at), static_cast<int8_t>(recordByte(words, at + 1)),
                    static_cast<int8_t>(recordByte(words, at + 2)), recordInt32(words, at + 4),
                    recordInt32(words, at + 8)};
    }
    return bands;
}

void storeBand(EQ_data& band, const DeviceBand& b, double dbPerStep)
{
    band.status = b.status;
    band.type = b.type;
    band.center_frequency = b.frequency;
    band.gain = b.gain * dbPerStep;
    band.Q = b.q / 10000.0;
}

void storePreamp(EQ_data& preamp, uint8_t status, double gain)
{
    preamp.status = status;
    preamp.gain = gain;
}

EQ_config_data& slotOf(EQ_config_data** table, int slot)
{
    EQ_config_data*& preset = table[slot];
    if (!preset) {
        preset = new EQ_config_data;  // device slots live for the whole run
        preset->index = slot;
    }
    for (EQ_data*& band : preset->eq) {
        if (!band)
            band = new EQ_data;
    }
    return *preset;
}
}  // namespace

uint8_t recordByte(const int32_t* words, int offset)
{
    const auto word = static_cast<uint32_t>(words[offset / 4]);
    return static_cast<uint8_t>(word >> (8 * (offset % 4)));
}

int32_t recordInt32(const int32_t* words, int offset)
{
    const uint32_t v = uint32_t(recordByte(words, offset)) | uint32_t(recordByte(words, offset + 1)) << 8
        | uint32_t(recordByte(words, offset + 2)) << 16 | uint32_t(recordByte(words, offset + 3)) << 24;
    return static_cast<int32_t>(v);
}

OneSetRecord parseOneSetRecord(const int32_t* words)
{
    return {recordName(words), preampAt(words, 16), bandsAt(words, kOneSetBands)};
}

LeftRightRecord parseLeftRightRecord(const int32_t* words)
{
    return {recordName(words), preampAt(words, 16), preampAt(words, 24),
            bandsAt(words, kLeftBands), bandsAt(words, kRightBands)};
}

double preampGainDb(int32_t word, bool noValueIsMinus3)
{
    if (noValueIsMinus3 && word == kNoPreampWord)
        return -3.0;
    return global_gain_change(word) / 10.0;
}

bool isDeviceSlot(int slot)
{
    return slot >= 0 && slot < kDevicePresetSlots;
}

EQ_config_data& deviceSlot(int slot)
{
    return slotOf(Device_CB_data, slot);
}

EQ_config_data& deviceSlotR(int slot)
{
    return slotOf(Device_CB_data_R, slot);
}

void storeOneSetRecord(EQ_config_data& preset, const OneSetRecord& record, bool noValueIsMinus3)
{
    preset.config_name = record.name;
    storePreamp(*preset.eq[0], record.preamp.status, preampGainDb(record.preamp.word, noValueIsMinus3));
    for (int n = 0; n < kRecordBandsRead; ++n)
        storeBand(*preset.eq[n + 1], record.bands[n], 0.5);
}

void storeLeftRightRecord(EQ_config_data& left, EQ_config_data& right,
                          const LeftRightRecord& record, double dbPerStep)
{
    left.config_name = record.name;
    right.config_name = record.name;
    storePreamp(*left.eq[0], record.left.status, preampGainDb(record.left.word, true));
    storePreamp(*right.eq[0], record.right.status, preampGainDb(record.right.word, true));
    for (int n = 0; n < kRecordBandsRead; ++n) {
        storeBand(*left.eq[n + 1], record.leftBands[n], dbPerStep);
        storeBand(*right.eq[n + 1], record.rightBands[n], dbPerStep);
    }
}

void stageLeftRightRecord(int r, const LeftRightRecord& record)
{
    intMatrix_global_status[r] = record.left.status;
    intMatrix_global_gain[r] = preampGainDb(record.left.word, true);
    intMatrix_global_statusR[r] = record.right.status;
    intMatrix_global_gainR[r] = preampGainDb(record.right.word, true);
    for (int b = 0; b < kStagedBands; ++b) {
        const DeviceBand& l = record.leftBands[b];
        const DeviceBand& rt = record.rightBands[b];
        intMatrix_status[r][b] = l.status;
        intMatrix_type[r][b] = static_cast<uint8_t>(l.type);
        intMatrix_F[r][b] = l.frequency;
        intMatrix[r][b] = l.gain;
        intMatrix_Q[r][b] = l.q;
        intMatrix_statusR[r][b] = rt.status;
        intMatrix_typeR[r][b] = static_cast<uint8_t>(rt.type);
        intMatrix_FR[r][b] = rt.frequency;
        intMatrix_R[r][b] = rt.gain;
        intMatrix_QR[r][b] = rt.q;
    }
}

void refreshFromStaging(int count)
{
    const int records = std::clamp(count, 0, kStagedRecords);
    for (int r = 0; r < records; ++r) {
        EQ_config_data& left = deviceSlot(r);
        EQ_config_data& right = deviceSlotR(r);
        storePreamp(*left.eq[0], intMatrix_global_status[r], intMatrix_global_gain[r]);
        storePreamp(*right.eq[0], intMatrix_global_statusR[r], intMatrix_global_gainR[r]);
        for (int b = 0; b < kStagedBands; ++b) {
            EQ_data& l = *left.eq[b + 1];
            l.center_frequency = static_cast<int32_t>(intMatrix_F[r][b]);
            l.gain = intMatrix[r][b] / 10.0;
            l.Q = intMatrix_Q[r][b] / 10000.0;
            l.status = intMatrix_status[r][b];
            l.type = intMatrix_type[r][b];
            EQ_data& rt = *right.eq[b + 1];
            rt.center_frequency = static_cast<int32_t>(intMatrix_FR[r][b]);
            rt.gain = intMatrix_R[r][b] / 10.0;
            rt.Q = intMatrix_QR[r][b] / 10000.0;
            rt.status = intMatrix_statusR[r][b];
            rt.type = intMatrix_typeR[r][b];
        }
    }
}
