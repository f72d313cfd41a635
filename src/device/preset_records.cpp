#include "device/preset_records.h"

#include "device/commands.h"
#include "device/device_state.h"
#include "dsp/band.h"
#include "dsp/value_deal.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kNameBytes = 16;
constexpr int kBandBytes = 12;
constexpr int kOneSetBands = 24; // byte offset of band 1
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
    return { recordByte(words, offset), recordInt32(words, offset + 4) };
}

std::array<DeviceBand, kRecordBandsRead> bandsAt(const int32_t* words, int offset)
{
    std::array<DeviceBand, kRecordBandsRead> bands;
    for (int n = 0; n < kRecordBandsRead; ++n) {
        const int at = offset + n * kBandBytes;
        bands[n] = { recordByte(words, at), static_cast<int8_t>(recordByte(words, at + 1)),
            static_cast<int8_t>(recordByte(words, at + 2)), recordInt32(words, at + 4),
            recordInt32(words, at + 8) };
    }
    return bands;
}

// What the device reports takes the rule of each field, as a typed value
// does: an empty or damaged slot (type 0, 0 Hz, Q 0) never reaches the
// controls, the chart or a file. Divides rather than multiplies by the step,
// so -6 tenths read as -0.6 dB, not -0.6000000000000001.
void storeBand(EQ_data& band, uint8_t status, int32_t type, int32_t frequency, double gainSteps,
    int32_t qCode, double stepsPerDb)
{
    band.status = heldStatus(status);
    band.type = heldType(type);
    band.center_frequency = heldFrequency(frequency);
    band.gain = heldGain(gainSteps / stepsPerDb);
    band.Q = heldQ(qCode / 10000.0);
}

void storeBand(EQ_data& band, const DeviceBand& b, double stepsPerDb)
{
    storeBand(band, b.status, b.type, b.frequency, b.gain, b.q, stepsPerDb);
}

void storePreamp(EQ_data& preamp, uint8_t status, double gain)
{
    preamp.status = heldStatus(status);
    preamp.gain = heldGain(gain);
}

EQ_config_data& slotOf(EQ_config_data** table, int slot)
{
    EQ_config_data*& preset = table[slot];
    if (!preset) {
        preset = new EQ_config_data; // device slots live for the whole run
        preset->index = slot;
    }
    for (EQ_data*& band : preset->eq) {
        if (!band)
            band = new EQ_data;
    }
    return *preset;
}
} // namespace

uint8_t recordByte(const int32_t* words, int offset)
{
    const auto word = static_cast<uint32_t>(words[offset / 4]);
    return static_cast<uint8_t>(word >> (8 * (offset % 4)));
}

int32_t recordInt32(const int32_t* words, int offset)
{
    const uint32_t v = uint32_t(recordByte(words, offset))
        | uint32_t(recordByte(words, offset + 1)) << 8
        | uint32_t(recordByte(words, offset + 2)) << 16
        | uint32_t(recordByte(words, offset + 3)) << 24;
    return static_cast<int32_t>(v);
}

OneSetRecord parseOneSetRecord(const int32_t* words)
{
    return { recordName(words), preampAt(words, 16), bandsAt(words, kOneSetBands) };
}

LeftRightRecord parseLeftRightRecord(const int32_t* words)
{
    return { recordName(words), preampAt(words, 16), preampAt(words, 24),
        bandsAt(words, kLeftBands), bandsAt(words, kRightBands) };
}

double preampGainDb(int32_t word, bool noValueIsMinus3)
{
    if (noValueIsMinus3 && word == kNoPreampWord)
        return -3.0;
    return global_gain_change(word) / 10.0;
}

bool isDeviceSlot(int slot) { return slot >= 0 && slot < kDevicePresetSlots; }

EQ_config_data& deviceSlot(int slot) { return slotOf(Device_CB_data, slot); }

EQ_config_data& deviceSlotR(int slot) { return slotOf(Device_CB_data_R, slot); }

void storeOneSetRecord(EQ_config_data& preset, const OneSetRecord& record, bool noValueIsMinus3)
{
    preset.config_name = record.name;
    storePreamp(
        *preset.eq[0], record.preamp.status, preampGainDb(record.preamp.word, noValueIsMinus3));
    for (int n = 0; n < kRecordBandsRead; ++n)
        storeBand(*preset.eq[n + 1], record.bands[n], 2.0);
}

void storeLeftRightRecord(
    EQ_config_data& left, EQ_config_data& right, const LeftRightRecord& record, double stepsPerDb)
{
    left.config_name = record.name;
    right.config_name = record.name;
    storePreamp(*left.eq[0], record.left.status, preampGainDb(record.left.word, true));
    storePreamp(*right.eq[0], record.right.status, preampGainDb(record.right.word, true));
    for (int n = 0; n < kRecordBandsRead; ++n) {
        storeBand(*left.eq[n + 1], record.leftBands[n], stepsPerDb);
        storeBand(*right.eq[n + 1], record.rightBands[n], stepsPerDb);
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
            storeBand(*left.eq[b + 1], intMatrix_status[r][b], intMatrix_type[r][b],
                static_cast<int32_t>(intMatrix_F[r][b]), intMatrix[r][b],
                static_cast<int32_t>(intMatrix_Q[r][b]), 10.0);
            storeBand(*right.eq[b + 1], intMatrix_statusR[r][b], intMatrix_typeR[r][b],
                static_cast<int32_t>(intMatrix_FR[r][b]), intMatrix_R[r][b],
                static_cast<int32_t>(intMatrix_QR[r][b]), 10.0);
        }
    }
}

// ---- Records the program sends ----

std::array<int32_t, kOneSetRecordWords> eq_signle_config_u {};
std::array<int32_t, kLeftRightRecordWords> eq_signle_config_u2 {};

namespace {

constexpr int kNameWords = 4;

// Held to the editor's ranges: a value outside them (or not a number, from a
// damaged file) would wrap the gain byte or overflow the conversion.
double held(double v, double lo, double hi)
{
    return std::isfinite(v) ? std::clamp(v, lo, hi) : std::clamp(0.0, lo, hi);
}

void setByte(int32_t* words, int offset, uint8_t value)
{
    auto word = static_cast<uint32_t>(words[offset / 4]);
    const int shift = 8 * (offset % 4);
    word = (word & ~(0xFFu << shift)) | uint32_t(value) << shift;
    words[offset / 4] = static_cast<int32_t>(word);
}

void setInt32(int32_t* words, int offset, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        setByte(words, offset + i, static_cast<uint8_t>(v >> (8 * i)));
}

void packName(int32_t* words, const QString& name, int maxBytes)
{
    const QByteArray bytes = recordNameBytes(name, maxBytes);
    for (int i = 0; i < kNameBytes; ++i)
        setByte(words, i, i < bytes.size() ? static_cast<uint8_t>(bytes[i]) : 0);
}

// Status byte, three spare bytes, then the preamp word.
void packPreamp(int32_t* words, int offset, const EQ_data& preamp)
{
    const double tenths = std::trunc(held(preamp.gain, -kBandGainLimitDb, kBandGainLimitDb) * 10.0);
    setInt32(words, offset, preamp.status);
    setInt32(
        words, offset + 4, static_cast<int32_t>(value_deal::Get_Modulus(static_cast<int>(tenths))));
}

// Band blocks for bands 1-11: all eleven, whatever their status.
void packBands(int32_t* words, int offset, const EQ_config_data& preset, int factor)
{
    for (int n = 0; n < 11; ++n) {
        const EQ_data& b = *preset.eq[n + 1];
        const int at = offset + n * kBandBytes;
        const double gain = std::trunc(held(b.gain, -kBandGainLimitDb, kBandGainLimitDb) * factor);
        setByte(words, at, b.status);
        setByte(words, at + 1, static_cast<uint8_t>(b.type));
        setByte(words, at + 2, static_cast<uint8_t>(static_cast<int8_t>(gain)));
        setByte(words, at + 3, 0);
        setInt32(words, at + 4, std::clamp(b.center_frequency, kBandMinHz, kBandMaxHz));
        setInt32(words, at + 8,
            static_cast<int32_t>(std::trunc(held(b.Q, kBandMinQ, kBandMaxQ) * 10000.0)));
    }
}

FrameList recordFrames(FrameList frames, uint32_t cmd, const int32_t* words, int count, int total)
{
    for (int k = 0; k < count; ++k)
        frames.push_back(
            makeFrame(cmd, words[k], static_cast<uint8_t>(total), static_cast<uint8_t>(k)));
    return frames;
}

FrameList opening(uint32_t cmd, int slot) { return { makeFrame(cmd, slot) }; }

} // namespace

RecordLayout recordLayoutOf(const QString& tag)
{
    if (tag == QLatin1String("QAZWS"))
        return RecordLayout::OneSet;
    if (tag == QLatin1String("ABCD"))
        return RecordLayout::LeftRight;
    return RecordLayout::None;
}

int recordWordCount(RecordLayout layout)
{
    switch (layout) {
    case RecordLayout::OneSet:
        return kOneSetRecordWords;
    case RecordLayout::LeftRight:
        return kLeftRightRecordWords;
    case RecordLayout::None:
        break;
    }
    return 0;
}

int bandGainFactor(RecordBuilder builder, RecordLayout layout, bool gainFlag)
{
    if (builder == RecordBuilder::Store && layout == RecordLayout::OneSet)
        return 2;
    return gainFlag ? 10 : 2;
}

QByteArray recordNameBytes(const QString& name, int maxBytes)
{
    QByteArray bytes = name.toUtf8();
    if (bytes.size() <= maxBytes)
        return bytes;
    // Back up over continuation bytes to the start of the character cut.
    qsizetype cut = maxBytes;
    while (cut > 0 && (static_cast<uint8_t>(bytes[cut]) & 0xC0) == 0x80)
        --cut;
    bytes.truncate(cut);
    return bytes;
}

std::vector<int32_t> packDeviceRecord(RecordLayout layout, RecordBuilder builder,
    const QString& name, const EQ_config_data& left, const EQ_config_data& right, bool gainFlag)
{
    const int count = recordWordCount(layout);
    if (count == 0)
        return {};
    std::vector<int32_t> words(count, 0);
    const int factor = bandGainFactor(builder, layout, gainFlag);
    packName(
        words.data(), name, builder == RecordBuilder::Store ? kStoreNameBytes : kSaveNameBytes);
    packPreamp(words.data(), 16, *left.eq[0]);
    if (layout == RecordLayout::OneSet) {
        packBands(words.data(), kOneSetBands, left, factor);
    } else {
        packPreamp(words.data(), 24, *right.eq[0]);
        packBands(words.data(), kLeftBands, left, factor);
        packBands(words.data(), kRightBands, right, factor);
    }
    return words;
}

void packRecordName(int32_t* words, const QString& name) { packName(words, name, kStoreNameBytes); }

FrameList storeRecordFrames(const std::vector<int32_t>& words)
{
    const int n = static_cast<int>(words.size());
    return recordFrames({}, command::kStoreWord, words.data(), n, n);
}

FrameList saveSlotFrames(int slot, const std::vector<int32_t>& words)
{
    const int n = static_cast<int>(words.size());
    return recordFrames(opening(command::kSaveOpen, slot), command::kSaveWord, words.data(), n, n);
}

FrameList renameSlotFrames(int slot, RecordLayout layout, const int32_t* nameWords)
{
    const int total = recordWordCount(layout);
    if (total == 0)
        return opening(command::kRenameOpen, slot);
    return recordFrames(
        opening(command::kRenameOpen, slot), command::kRenameWord, nameWords, kNameWords, total);
}
