#include "dsp/band.h"

#include <cmath>

EQ_data* EQ[12] = {};
R_EQ_data* EQ_R[12] = {};

void clearBand(EQ_data& band) { band = EQ_data {}; }

void setStartupBandValues(EQ_data* const set[12])
{
    *set[0] = EQ_data {};
    set[0]->status = 1;
    set[0]->gain = -3.0;
    *set[1] = EQ_data { 1, 1, 20, 3.0, 0.2 };
    for (int k = 2; k < 12; ++k)
        clearBand(*set[k]);
}

void makeStartupBandSet(EQ_data* set[12])
{
    for (int i = 0; i < 12; ++i)
        set[i] = new EQ_data; // lives for the whole run, like every band record
    setStartupBandValues(set);
}

namespace {
// One device step of Q (Q x 10000 is sent as an integer).
constexpr double kQStep = 1.0 / 10000.0;
} // namespace

uint8_t heldStatus(long long v) { return v <= 0 ? 0 : 1; }

int32_t heldType(long long v) { return v >= 1 && v <= 5 ? int32_t(v) : EQ_data {}.type; }

int32_t heldFrequency(long long hz)
{
    if (hz < kBandMinHz)
        return EQ_data {}.center_frequency;
    return hz > kBandMaxHz ? kBandMaxHz : int32_t(hz);
}

double heldGain(double db)
{
    if (std::isnan(db))
        return EQ_data {}.gain;
    if (db >= kBandGainLimitDb)
        return kBandGainLimitDb;
    if (db <= -kBandGainLimitDb)
        return -kBandGainLimitDb;
    return db;
}

double heldQ(double q)
{
    if (!(q >= kQStep))
        return EQ_data {}.Q;
    return q > kBandMaxQ ? kBandMaxQ : q;
}

void holdBandFields(EQ_data& band)
{
    band.status = heldStatus(band.status);
    band.type = heldType(band.type);
    band.center_frequency = heldFrequency(band.center_frequency);
    band.gain = heldGain(band.gain);
    band.Q = heldQ(band.Q);
}

void holdPreampFields(EQ_data& preamp)
{
    preamp.status = heldStatus(preamp.status);
    preamp.gain = heldGain(preamp.gain);
}
