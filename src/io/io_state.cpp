#include "io/io_state.h"

bool fre_show_sign = false;
bool tar_show_sign = false;
QString Parameter_Path;
