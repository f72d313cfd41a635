#pragma once

// The program's start values of the device state (the workspace's clear
// included), for code that drives the dispatcher many times in one process.

#include "device/device_state.h"
#include "device/preset_records.h"
#include "store/settings.h"

inline void resetDeviceState()
{
    status_bar_value = StatusBarInfo {};
    status_bar_value.sample_rate = QStringLiteral("Sample");
    status_bar_value.audio_code = QStringLiteral("Audio Code");
    hid_status = config_connect_status = 0;
    Gain_flag = execute_biaozhi = Mirel1_Sign = Ostra2_Sign = Device_EQ_sign = send_biaozhi = false;
    Vantor3_flag = true;
    upload_sign = 0;
    Silent_Sign = -1;
    standby_state = 0;
    MCU_Switch_Config_Index = -1;
    device_config_num = biaozhi_i = 0;
    tem_software = 0.0;
    send_ui_biao = tem_ui_biao = 0;
    ui_biao_count = 0;
    lianjiebz1 = 0;
    for (int s = 0; s < kDevicePresetSlots; ++s) {
        for (EQ_config_data* p : { &deviceSlot(s), &deviceSlotR(s) }) {
            p->config_name.clear();
            for (EQ_data* b : p->eq)
                *b = EQ_data {};
        }
    }
}
