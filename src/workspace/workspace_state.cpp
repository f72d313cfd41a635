#include "workspace/workspace_state.h"

#include "dsp/band.h"
#include "store/presets.h"

int32_t selectedRadioIndex = 0;

void EQ_value_update()
{
    EQ_config_data* left = CB_data[0];
    EQ_config_data* right = CB_data_R[0];
    if (!left || !right)
        return;
    for (int k = 0; k < 12; ++k) {
        EQ[k] = left->eq[k];
        EQ_R[k] = right->eq[k];
    }
    if (config_count != 0)
        return;
    for (int k = 0; k < 12; ++k) {
        clearBand(*EQ[k]);
        clearBand(*EQ_R[k]);
    }
}
