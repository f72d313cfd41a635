#pragma once

// What the program knows about the connected device: the status record the
// status bar shows, the device flags and counters, the received-word tables
// and the left/right staging lists. Touched on the GUI thread only.

#include <QList>
#include <QString>

#include <cstdint>

struct StatusBarInfo
{
    QString audio_code; // "PCM", "DSD" or the placeholder
    QString sample_rate; // sample-rate label or the placeholder
    int32_t eq_count = 0; // enabled bands shown in the editor
    int32_t eq_max = 0; // bands the device accepts now (10, or 0 while EQ is locked)
    QString device_model; // model name, or the placeholder
    QString connect_state; // "Connected"/"Disconnected" text
    QString hardware_version; // two decimals
    QString software_version; // two decimals
    int32_t device_eq_status = 0; // device EQ state code
};
extern StatusBarInfo status_bar_value;

// Connection: 1 once the device has answered the hello; editing frames are
// sent only while it is 1. config_connect_status is a second copy of it.
extern int32_t hid_status;
extern int32_t config_connect_status;

extern bool Gain_flag; // band gains in 0.1 dB steps (else 0.5 dB)
extern bool execute_biaozhi; // factory presets editable, no factory stream
extern bool Mirel1_Sign;
extern bool Ostra2_Sign;
extern bool Vantor3_flag; // factory presets not announced yet
extern bool Device_EQ_sign; // preset stream or mask arrived since the last EQ state frame
extern int32_t upload_sign; // 1 once a complete set of device presets has arrived
extern bool send_biaozhi; // presets complete, still to be announced
extern int32_t Silent_Sign; // high-rate auto-mute: 1 on, 0 off, -1 not reported
extern int32_t standby_state;
extern int32_t MCU_Switch_Config_Index; // active device slot, -1 none
extern int32_t device_config_num; // user presets the device holds
extern int32_t biaozhi_i; // left/right records received in this stream
extern double tem_software; // firmware version as a number
extern uint32_t send_ui_biao; // channel-mode mask: bit n = slot n edited as L/R
extern uint32_t tem_ui_biao;
extern int32_t ui_biao_count; // mask frames handled since the last loss

// Received words, stored at the frame's `current` index.
constexpr int kDeviceWords = 201;
constexpr int kDeviceWordsLr = 372;
extern int32_t device_data_words[kDeviceWords];
extern int32_t device_data_words_lr[kDeviceWordsLr];

// Left/right staging lists: entry r = record r; inner value b = band b + 1.
constexpr int kStagedRecords = 10;
constexpr int kStagedBands = 10;
extern QList<uint8_t> intMatrix_global_status;
extern QList<uint8_t> intMatrix_global_statusR;
extern QList<double> intMatrix_global_gain;
extern QList<double> intMatrix_global_gainR;
extern QList<QList<uint8_t>> intMatrix_status;
extern QList<QList<uint8_t>> intMatrix_statusR;
extern QList<QList<uint8_t>> intMatrix_type;
extern QList<QList<uint8_t>> intMatrix_typeR;
extern QList<QList<double>> intMatrix_F;
extern QList<QList<double>> intMatrix_FR;
extern QList<QList<double>> intMatrix; // gain as received, device units
extern QList<QList<double>> intMatrix_R;
extern QList<QList<double>> intMatrix_Q; // Q x 10000 as received
extern QList<QList<double>> intMatrix_QR;

// The reset made while no device is found: both connection flags to 0 and
// the connection text to the disconnected one of the language (1 English,
// 0 Chinese; any other value leaves the text as it is).
void resetSearchState(int language);
