#pragma once

// Every command number the program sends or reads, named once. A command is
// read in fields: bits 12-15 its class (0x1000 device state and identity,
// 0x9000 filter values and the keep-alive), bits 8-11 the group within the
// class, bits 0-7 the item. Where the device's own log lines name a command,
// that name is kept.

#include <cstdint>

namespace command {

// ---- The link ----
constexpr uint32_t kHello = 0x1101; // sent at connect; the device answers with it
constexpr uint32_t kHelloFollowUp = 0x1120; // sent right after the hello
constexpr uint32_t kEcho = 0x1104; // received, sent back unchanged
constexpr uint32_t kKeepAlive = 0x9D01; // received, sent back unchanged
constexpr uint32_t kQuit = 0x1111; // the program's last frame

// ---- Device state (received) ----
constexpr uint32_t kPresetWord = 0x1105; // one word of a preset record, stored only
constexpr uint32_t kPresetStream = 0x1106; // the user presets' word stream
constexpr uint32_t kSampleRate = 0x1107;
constexpr uint32_t Sa_switch_MCU_config = 0x110E; // also sent: the slot to make active
constexpr uint32_t Sa_eq_ui = 0x1112; // also sent: the channel-mode mask
constexpr uint32_t sa_default_peqconfig_upload = 0x1113; // the factory presets' word stream
constexpr uint32_t Sa_standby = 0x1114;
constexpr uint32_t Sa_hight_sample_auto_mute = 0x1116; // also sent: the mute switch
constexpr uint32_t kHardwareVersion = 0x1201;
constexpr uint32_t kFirmwareVersion = 0x1202;
constexpr uint32_t kIdentity = 0x1203;
constexpr uint32_t Sa_MCU_EQ_Enable_State = 0x1204;
constexpr uint32_t kActiveSlot = 0x1206;

// ---- Device slots (sent) ----
constexpr uint32_t kDeleteSlot = 0x110A;
constexpr uint32_t kStoreWord = 0x110B; // a new slot's record, word by word
constexpr uint32_t kRenameOpen = 0x110C; // data: the slot
constexpr uint32_t kRenameWord = 0x110D;
constexpr uint32_t kSaveOpen = 0x110F; // data: the slot
constexpr uint32_t kSaveWord = 0x1110;
constexpr uint32_t kOverwriteSlot = 0x1119; // data: the slot of a three-slot model

// ---- Filter values (sent) ----
// Band n's fields are kBandBase + (n << 8) + field (1 to 5), the right
// channel's 5 above the left's.
constexpr uint32_t kBandBase = 0x9000;
constexpr uint32_t kPreampLeftGain = 0x9C01;
constexpr uint32_t kPreampLeftStatus = 0x9C02;
constexpr uint32_t kPreampRightGain = 0x9C03;
constexpr uint32_t kPreampRightStatus = 0x9C04;
constexpr uint32_t kUploadBracket = 0x9E01; // data 1 before a whole-set upload, 0 after

// The group and item fields, which alone tell the commands of a class apart.
constexpr uint32_t groupAndItem(uint32_t cmd) { return cmd & 0xFFF; }

} // namespace command
