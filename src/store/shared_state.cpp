#include "store/shared_state.h"

QString test_str;
