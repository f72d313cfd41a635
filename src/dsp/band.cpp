#include "dsp/band.h"

EQ_data* EQ[12] = {};
R_EQ_data* EQ_R[12] = {};

void clearBand(EQ_data& band)
{
    band = EQ_data{};
}

void makeStartupBandSet(EQ_data* set[12])
{
    for (int i = 0; i < 12; ++i)
        set[i] = new EQ_data; // lives for the whole run, like every band record
    set[0]->status = 1;
    set[0]->gain = -3.0;
    set[1]->status = 1;
    set[1]->type = 1;
    set[1]->center_frequency = 20;
    set[1]->gain = 3.0;
    set[1]->Q = 0.2;
}
