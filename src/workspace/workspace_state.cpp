#include "workspace/workspace_state.h"

int32_t selectedRadioIndex = 0;
