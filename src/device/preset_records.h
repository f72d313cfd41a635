#pragma once

// Device preset records as they travel in word streams, and their conversion
// into the program's preset records. A record is read as a byte image of its
// words, least significant byte of each word first, whatever the host's byte
// order.

#include "device/frame.h"
#include "store/presets.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

constexpr int kOneSetRecordWords = 39;
constexpr int kLeftRightRecordWords = 74;
constexpr int kLeftRightMessageWords = 78; // the record plus four unread words
constexpr int kRecordBandsRead = 10; // band 11 travels but is not read
constexpr int32_t kNoPreampWord = 0x016A77E5;

struct DeviceBand
{
    uint8_t status = 0;
    int8_t type = 0;
    int8_t gain = 0; // device steps: 0.5 dB or 0.1 dB
    int32_t frequency = 0;
    int32_t q = 0; // Q x 10000
};

struct DevicePreamp
{
    uint8_t status = 0;
    int32_t word = 0; // fixed-point linear gain
};

struct OneSetRecord
{
    QString name;
    DevicePreamp preamp;
    std::array<DeviceBand, kRecordBandsRead> bands;
};

struct LeftRightRecord
{
    QString name;
    DevicePreamp left;
    DevicePreamp right;
    std::array<DeviceBand, kRecordBandsRead> leftBands;
    std::array<DeviceBand, kRecordBandsRead> rightBands;
};

// Byte `offset` of the image of `words`.
uint8_t recordByte(const int32_t* words, int offset);
// Signed 32-bit field at byte `offset`, assembled least significant byte first.
int32_t recordInt32(const int32_t* words, int offset);

OneSetRecord parseOneSetRecord(const int32_t* words); // kOneSetRecordWords words
LeftRightRecord parseLeftRightRecord(const int32_t* words); // kLeftRightRecordWords words

// Preamp gain in dB. Where the device's "no value" word counts as -3.0 dB
// (left/right and factory records) pass true.
double preampGainDb(int32_t word, bool noValueIsMinus3);

// Device preset slot records, allocated on first use with all twelve bands.
EQ_config_data& deviceSlot(int slot);
EQ_config_data& deviceSlotR(int slot);
bool isDeviceSlot(int slot);

// Writes bands 1-10 and the preamp; band 11 is left as it is. One-set
// records carry band gains in 0.5 dB steps; left/right records in the
// device's unit, given as steps per dB (2 or 10).
void storeOneSetRecord(EQ_config_data& preset, const OneSetRecord& record, bool noValueIsMinus3);
void storeLeftRightRecord(
    EQ_config_data& left, EQ_config_data& right, const LeftRightRecord& record, double stepsPerDb);

// The left/right staging lists keep record `slot` as received so that a
// later change of the gain unit can convert it again.
void stageLeftRightRecord(int slot, const LeftRightRecord& record);
// Rebuilds the first `count` device records (at most ten) from the staging
// lists, band gains in 0.1 dB.
void refreshFromStaging(int count);

// ---- Records the program sends: store into a new slot, save into an
// existing slot, rename a slot ----

enum class RecordLayout {
    None, // no device layout reported yet: nothing is built or sent
    OneSet, // "QAZWS"
    LeftRight, // "ABCD"
};
RecordLayout recordLayoutOf(const QString& tag);
int recordWordCount(RecordLayout layout); // 39, 74, or 0

enum class RecordBuilder {
    Store, // a new slot: name up to 15 bytes; one-set gains always in 0.5 dB steps
    Save, // an existing slot: name up to 14 bytes
};
constexpr int kStoreNameBytes = 15;
constexpr int kSaveNameBytes = 14;

// Steps per dB of the band gain byte the builder writes.
int bandGainFactor(RecordBuilder builder, RecordLayout layout, bool gainFlag);

// The name as UTF-8, cut at the last whole character within maxBytes.
QByteArray recordNameBytes(const QString& name, int maxBytes);

// The two record buffers, one per layout; each build overwrites every field.
extern std::array<int32_t, kOneSetRecordWords> eq_signle_config_u;
extern std::array<int32_t, kLeftRightRecordWords> eq_signle_config_u2;

// Builds the record of `layout` from a preset (and its right twin for the
// left/right layout) under `name`. Gains, Q and frequencies are held to the
// editor's ranges first, so no field wraps. Empty for RecordLayout::None.
std::vector<int32_t> packDeviceRecord(RecordLayout layout, RecordBuilder builder,
    const QString& name, const EQ_config_data& left, const EQ_config_data& right, bool gainFlag);
// Writes only the name field (words 0-3) with the store builder's limit.
void packRecordName(int32_t* words, const QString& name);

// Frames of the three record roads, in the order they go out. Single
// frames carry total 1, current 1; record frames total = word count and
// current = word index. Empty words give only the opening frame.
FrameList storeRecordFrames(const std::vector<int32_t>& words); // 0x110B x N
FrameList saveSlotFrames(int slot, const std::vector<int32_t>& words); // 0x110F, 0x1110 x N
// 0x110C, then 0x110D with words 0-3 and total N of the layout.
FrameList renameSlotFrames(int slot, RecordLayout layout, const int32_t* nameWords);
