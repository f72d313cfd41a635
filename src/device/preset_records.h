#pragma once

// Device preset records as they travel in word streams, and their conversion
// into the program's preset records. A record is read as a byte image of its
// words, least significant byte of each word first, whatever the host's byte
// order.

#include "store/presets.h"

#include <QString>

#include <array>
#include <cstdint>

constexpr int kOneSetRecordWords = 39;
constexpr int kLeftRightRecordWords = 74;
constexpr int kLeftRightMessageWords = 78;  // the record plus four unread words
constexpr int kRecordBandsRead = 10;        // band 11 travels but is not read
constexpr int32_t kNoPreampWord = 0x016A77E5;

struct DeviceBand
{
    uint8_t status = 0;
    int8_t type = 0;
    int8_t gain = 0;  // device steps: 0.5 dB or 0.1 dB
    int32_t frequency = 0;
    int32_t q = 0;    // Q x 10000
};

struct DevicePreamp
{
    uint8_t status = 0;
    int32_t word = 0;  // fixed-point linear gain
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

OneSetRecord parseOneSetRecord(const int32_t* words);        // kOneSetRecordWords words
LeftRightRecord parseLeftRightRecord(const int32_t* words);  // kLeftRightRecordWords words

// Preamp gain in dB. Where the device's "no value" word counts as -3.0 dB
// (left/right and factory records) pass true.
double preampGainDb(int32_t word, bool noValueIsMinus3);

// Device preset slot records, allocated on first use with all twelve bands.
EQ_config_data& deviceSlot(int slot);
EQ_config_data& deviceSlotR(int slot);
bool isDeviceSlot(int slot);

// Writes bands 1-10 and the preamp; band 11 is left as it is.
void storeOneSetRecord(EQ_config_data& preset, const OneSetRecord& record, bool noValueIsMinus3);
void storeLeftRightRecord(EQ_config_data& left, EQ_config_data& right,
                          const LeftRightRecord& record, double dbPerStep);

// The left/right staging lists keep record `slot` as received so that a
// later change of the gain unit can convert it again.
void stageLeftRightRecord(int slot, const LeftRightRecord& record);
// Rebuilds the first `count` device records (at most ten) from the staging
// lists, band gains in 0.1 dB.
void refreshFromStaging(int count);
