#pragma once

// What the device harnesses share: a host that checks every request the
// dispatcher makes of the window, the program's start values of the device
// state, and the ranges the device state must keep whatever a device sends.

#include <QString>

#include <cmath>

#include "device/device_session.h"
#include "device/device_state.h"
#include "device/preset_records.h"
#include "device_state_reset.h"
#include "null_device_host.h"
#include "dsp/band.h"
#include "support.h"
#include "store/presets.h"
#include "store/settings.h"

namespace fuzz {

inline bool isStatusLabel(int label) { return label >= 1 && label <= 7; }

class CheckingHost : public NullDeviceHost
{
public:
    QString peqText = QStringLiteral("L+R");
    int selected = 0;
    bool autoSaveOn = false;
    int frames = 0;

    // The dispatcher only ever answers: the hello, the echoes, the EQ state
    // request and the quit frame; never a frame of a stream it receives.
    void sendFrame(const qv_hid_new::CustomHidFrameInfo& f) override
    {
        FUZZ_CHECK(f.cmd == 0x1101 || f.cmd == 0x1104 || f.cmd == 0x1120 || f.cmd == 0x9D01
            || f.cmd == 0x1111);
        FUZZ_CHECK(f.total == 1 && f.current == 1 && f.protocol == kProtocolByte);
        ++frames;
    }
    void setStatusText(int label, const QString&) override { FUZZ_CHECK(isStatusLabel(label)); }
    void setStatusStyle(int label, const QString&) override { FUZZ_CHECK(isStatusLabel(label)); }
    void setStatusVisible(int label, bool) override { FUZZ_CHECK(isStatusLabel(label)); }
    QString peqModeText() const override { return peqText; }
    void setPeqModeIndex(int i) override
    {
        FUZZ_CHECK(i == 0 || i == 1);
        peqText = i == 1 ? QStringLiteral("L/R") : QStringLiteral("L+R");
    }
    bool isBandRowShown(int band) const override
    {
        FUZZ_CHECK(band >= 1 && band <= 11);
        return band <= 10;
    }
    int selectedPresetIndex() const override { return selected; }
    bool autoSave() const override { return autoSaveOn; }
    QString biaozhiName() const override { return QStringLiteral("yyyy"); }
    QString morendeviceName() const override { return QStringLiteral("Warm"); }
    void saveLocalPreset(int i) override { FUZZ_CHECK(i >= 0 && i < kLocalPresetCapacity); }
    void deviceSelectUpload(int slot) override { FUZZ_CHECK(slot == -1 || isDeviceSlot(slot)); }
    void layoutTag(const QString& tag) override
    {
        FUZZ_CHECK(tag.isEmpty() || tag == QLatin1String("QAZWS") || tag == QLatin1String("ABCD"));
    }
    void muteState(int state) override { FUZZ_CHECK(state >= -1 && state <= 1); }
    void saveDevicePreset(int i) override { FUZZ_CHECK(i >= 100); }
};

// The program's start values of the device state, the edited sets included.
inline void resetDeviceState(int language)
{
    static EQ_data* left[12];
    static EQ_data* right[12];
    if (!left[0]) {
        makeStartupBandSet(left);
        makeStartupBandSet(right);
    }
    setStartupBandValues(left);
    setStartupBandValues(right);
    for (int k = 0; k < 12; ++k) {
        EQ[k] = left[k];
        EQ_R[k] = right[k];
    }
    sysSetValue.Language = language;
    ::resetDeviceState();
}

// A band as a device record gives it: every field within its field's rule,
// whatever the words held.
inline void checkDeviceBand(const EQ_data& b)
{
    EQ_data held = b;
    holdBandFields(held);
    FUZZ_CHECK(held.status == b.status && held.type == b.type
        && held.center_frequency == b.center_frequency && held.gain == b.gain && held.Q == b.Q);
}

// Preamp words map onto the gain table's -12..12 dB, or the -3 dB default.
inline void checkDevicePreamp(const EQ_data& b)
{
    FUZZ_CHECK(std::isfinite(b.gain) && b.gain >= -12.0 && b.gain <= 12.0);
    FUZZ_CHECK(b.status <= 1);
}

inline void checkDeviceRecord(const EQ_config_data& p)
{
    // Sixteen name bytes make at most sixteen characters.
    FUZZ_CHECK(p.config_name.size() <= 16);
    for (EQ_data* b : p.eq)
        FUZZ_CHECK(b != nullptr);
    checkDevicePreamp(*p.eq[0]);
    for (int n = 1; n <= 11; ++n)
        checkDeviceBand(*p.eq[n]);
}

inline void checkDeviceState()
{
    FUZZ_CHECK(MCU_Switch_Config_Index == -1 || isDeviceSlot(MCU_Switch_Config_Index));
    FUZZ_CHECK(device_config_num >= 0 && device_config_num <= kDevicePresetSlots);
    FUZZ_CHECK(status_bar_value.eq_max == 0 || status_bar_value.eq_max == 10);
    FUZZ_CHECK(status_bar_value.eq_count >= 0 && status_bar_value.eq_count <= 11);
    FUZZ_CHECK(
        intMatrix_global_gain.size() == kStagedRecords && intMatrix_Q.size() == kStagedRecords);
    for (const QList<double>& row : intMatrix_Q)
        FUZZ_CHECK(row.size() == kStagedBands);
    for (int s = 0; s < kDevicePresetSlots; ++s) {
        if (Device_CB_data[s])
            checkDeviceRecord(*Device_CB_data[s]);
        if (Device_CB_data_R[s])
            checkDeviceRecord(*Device_CB_data_R[s]);
    }
}

} // namespace fuzz
