#pragma once

// The band editor without widgets: which filter set an edit writes and which
// device channels hear of it, how a value is coded into a frame, the frame
// groups of every kind of edit, the texts the rows show and the readers of
// typed values. The main window's row slots only move values between their
// widgets and these functions.

#include <QList>
#include <QString>

#include <cstdint>

#include "device/frame.h"
#include "dsp/band.h"

// ---- Routing ----

// Linked: "L+R", EQ written, left then right channel sent from it.
// Left / Right: "L/R" with the left/right switch off / on; only that set
// written and only that channel sent.
enum class EditRoute { Linked, Left, Right };

// Only the exact text "L+R" links the channels; any other text is "L/R".
EditRoute editRoute(const QString& peqModeText, bool rightChannelChecked);
// The set an edit of this route writes: EQ_R for the right channel, else EQ.
EQ_data* const* routedSet(EditRoute route);

// ---- Codings ----

// Truncates toward zero into 32 bits, saturating at either end; not-a-number
// gives 0. Every double-to-integer coding of the editor goes through it.
int32_t truncSaturated(double v);
// Filter type as sent and stored: 1 to 5, anything else is peaking (1).
int32_t bandTypeCode(int32_t type);
// Type stored for a type-box index: index + 1 for 0 to 4, else peaking (1).
int32_t typeForIndex(int index);
// Band gain: x 10 when the device takes tenths of a dB (Gain_flag), else x 2.
int32_t bandGainCode(double gainDb, bool tenths);
int32_t bandQCode(double q); // Q x 10000
int32_t statusCode(uint8_t status); // the byte read as signed
// Preamp: the device's fixed-point gain of gain x 10.
int32_t preampGainCode(double gainDb);
// Argument of Balance1::setValue(int) for a gain in dB: gain x 20 (tenths of
// a half-decibel position).
int32_t gainDialTenths(double gainDb);
// Gain in dB of a gain dial's signal (tenths of a position), rounded to one
// decimal as its text shows it.
double gainOfDialTenths(int tenths);
// Gain code a gain dial sends: tenths of a dB from the stored gain, or the
// dial's whole half-decibel steps.
int32_t dialGainCode(int tenths, double storedGainDb, bool tenthsOfDb);
// The device keeps both preamps in step (state 0x81 or 0xC1).
bool preampsLinkedOnDevice(int32_t deviceEqStatus);

// ---- Texts ----

QString frequencyText(int hz); // "632Hz"
QString gainText(double gainDb); // "-3.5dB"
QString qText(double q); // "0.7070"
QString eqCountText(int count); // "   EQ:3   "
// A gain rounded to 0.1 dB the way its one-decimal text reads back.
double roundedToTenth(double gainDb);

// ---- Readers of typed values (never refused; see each) ----
// Each reads the text, then hands the number to its field's rule in
// dsp/band.h, the rule every other source of that field follows too.

struct GainEntry
{
    double gain; // dB, -12.0 to 12.0, unrounded
    int position; // gain dial position, gain x 2 truncated
};
// More than 9 characters: the limit of its sign (-12.0 when the first
// non-blank character is "-", else +12.0). Otherwise "dB" in any case is
// removed and the rest read as a number; anything that is not one (NaN
// included) reads as 0.0; the result is held within -12.0 to 12.0.
GainEntry readGainText(const QString& text);

// "Hz" in any case removed; more than 6 characters left gives 22000; an
// integer below 20 or anything that is not an integer gives 632; at most 22000.
int readFrequencyText(const QString& text);

struct QEntry
{
    double q;
    int32_t code; // Q x 10000 as sent
};
// More than 7 characters gives 15.0; otherwise the number is cut (not
// rounded) to four decimals; 0 or less, or not a number, gives 0.707; above
// 15 gives 15.0.
QEntry readQText(const QString& text);

// ---- Frames ----

enum class BandField : uint32_t { Type = 1, Frequency = 2, Gain = 3, Q = 4, Status = 5 };

// 0x9000 + (band << 8) + field, the right channel's fields 5 above the left's.
uint32_t bandCommand(int band, BandField field, bool right);

// The five values of a band as sent.
struct BandCodes
{
    int32_t type = 1;
    int32_t frequency = 632;
    int32_t gain = 0;
    int32_t q = 7070;
    int32_t status = 0;

    int32_t of(BandField field) const;
};
BandCodes bandCodes(const EQ_data& record, bool gainTenths);

// The kinds of single-band edit, each with its own frame order.
enum class BandEdit {
    FrequencyDial,
    GainDial,
    QDial,
    FrequencyText,
    GainText,
    QText,
    Type,
    SwitchOn,
    SwitchOff
};
// Fields one edit of band `band` sends per channel, in order.
QList<BandField> bandFieldOrder(BandEdit edit, int band);
// The frames of one band edit: the fields of bandFieldOrder for each channel
// of the route, in linked mode the left group and then the right group with
// the same values.
FrameList bandEditFrames(BandEdit edit, int band, EditRoute route, const BandCodes& codes);

// One channel's preamp frames: its gain (when withGain), then its status.
void appendPreampFrames(FrameList& out, bool right, const EQ_data& record, bool withGain);

enum class PreampEdit { Dial, Text, SwitchOn, SwitchOff };
// The preamp frames of one edit. left and right are record 0 of EQ and EQ_R;
// linked mode sends both pairs from left.
FrameList preampEditFrames(PreampEdit edit, EditRoute route, const EQ_data& left,
    const EQ_data& right, int32_t deviceEqStatus);
