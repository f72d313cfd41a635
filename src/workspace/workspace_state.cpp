#include "workspace/workspace_state.h"

#include "app/palette.h"
#include "dsp/band.h"
#include "store/presets.h"

int32_t selectedRadioIndex = 0;
int32_t preselectedRadioIndex = 0;
int32_t device_config_count = 0;
int32_t device_config_count_R = 0;

void saveEditedPreset(int index, const std::function<void(int)>& saveDeviceSlot)
{
    saveEditedPreset(index, saveDeviceSlot, savePresetFiles);
}

void saveEditedPreset(int index, const std::function<void(int)>& saveDeviceSlot,
    const std::function<void(int)>& saveLocal)
{
    if (index <= 99)
        saveLocal(index);
    else
        saveDeviceSlot(index);
}

const QString EQ_str = QStringLiteral("EQ");
const QString qss = QStringLiteral(
    "QRadioButton{ width: 154px; height: 40px; font-size: 16px;outline:none;}"
    "QRadioButton:unchecked {    color: " QV_DARK_GREY_TIGHT ";}"
    "QRadioButton:checked {    color: " QV_TEXT_TIGHT ";    background-color: " QV_DARK_GREY_TIGHT
    ";}"
    "QRadioButton::indicator {    width: 0px;    height: 0px;    padding-left: 12px;    "
    "padding-right: 6px;    padding-top: 10px;    padding-bottom: 10px;}"
    "QRadioButton::indicator:unchecked {image:none;}QRadioButton::indicator:checked {image:none;}");

void EQ_value_update()
{
    if (!CB_data[0] || !CB_data_R[0])
        EQ_config_value_Init(); // no preset file was read: records with start-up values
    for (int k = 0; k < 12; ++k) {
        EQ[k] = CB_data[0]->eq[k];
        EQ_R[k] = CB_data_R[0]->eq[k];
    }
    if (config_count != 0)
        return;
    for (EQ_data* const* set : { EQ, EQ_R }) {
        for (int k = 0; k < 12; ++k)
            clearBand(*set[k]); // the preamp too: off at 0 dB
    }
}
