#include "dsp/band.h"

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
