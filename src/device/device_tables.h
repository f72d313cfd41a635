#pragma once

// The fixed tables the dispatcher reads device values through: versions,
// identity codes, stream formats and EQ state codes. Pure functions, no state.

#include <QString>

#include <cstdint>
#include <optional>

// A version word shows its hex digits as decimal hundredths (0x112 -> 1.12).
struct DeviceVersion
{
    QString text; // two decimals; "0.00" when a digit is a-f
    std::optional<double> value; // empty when a digit is a-f
};
DeviceVersion decodeVersion(int32_t word);

// How a model decides whether its factory presets are read-only.
enum class FactoryRule {
    Editable, // execute_biaozhi true
    ReadOnly, // execute_biaozhi false
    Above112, // editable above firmware 1.12
    Above028, // editable above firmware 0.28
    From149, // editable from 1.49; unchanged before any firmware report
    Unchanged, // unknown identity
};

// What a pending announcement emits at the identity frame.
enum class Announcement {
    None, // the model announces from its streams (or is unknown)
    UserOnly, // device_config_upload()
    UserThenFactoryUnlessEditable, // user; factory too while the factory presets are read-only
    UserThenFactory,
};

struct DeviceModel
{
    bool known = false;
    QString name; // device_model
    FactoryRule factory = FactoryRule::Unchanged;
    bool localConfigInactive = false;
    Announcement announcement = Announcement::None;
    bool setsOstra2 = false;
    bool setsMirel1 = false; // also switches band gains to 0.1 dB
};
DeviceModel identifyModel(uint32_t code);

// execute_biaozhi after an identity frame; `current` is kept where the rule says.
bool factoryPresetsEditable(FactoryRule rule, double firmware, bool current);

inline const QString kVantor3 = QStringLiteral("Vantor 3");

// Sample rate (Hz) -> label, class and whether the equaliser may be used.
struct StreamFormat
{
    QString sampleRate; // "44.1kHz" ... or "Sample"
    bool dsd = false;
    bool eqUsable = false;
};
StreamFormat streamFormat(int32_t hz);

// True for the six PCM labels under which the band controls are usable.
bool isEqUsableRateLabel(const QString& sampleRate);

// A stream the equaliser cannot serve: DSD, or a rate that is none of the six
// and no placeholder ("Sample", "采样率", shown while no rate is known).
bool isBlockedStream(const QString& audioCode, const QString& sampleRate);

// The one reading of an EQ state code (device_eq_status), for every place
// that decides by it. Bit 6 selects the gain unit only: the display, the
// layout and the left/right sets read the code with it cleared; the gain
// unit and the one-set codes read the full code.
enum class EqStateKind {
    LeftRightOn, // 129, 193
    LeftRightOff, // 128, 192
    OneSet, // anything else
};
struct EqStateView
{
    EqStateKind kind = EqStateKind::OneSet;
    bool on = false; // which text statusLabel7 shows
    QString layout; // "ABCD" or "QAZWS"
    bool gainTenths = false; // full code 192 or more: band gains in 0.1 dB (Gain_flag)
    bool eqOff = false; // full code 0: the device's equaliser is off
    bool oneChannel = false; // full code 1: a one-channel device

    // The device keeps separate left and right filter sets.
    bool leftRightSets() const { return kind != EqStateKind::OneSet; }
    // ... and keeps both preamps in step.
    bool preampsLinked() const { return kind == EqStateKind::LeftRightOn; }
    // Its presets arrive as one-set records (codes 0 and 1, read unsigned).
    bool oneSetRecords() const { return eqOff || oneChannel; }
};
EqStateView eqStateView(int32_t code);

inline const QString kLocalConfigInactiveStyle = QStringLiteral("color:red;");
