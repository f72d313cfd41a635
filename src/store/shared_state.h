#pragma once

#include <QString>

// State owned by the preset workspace that the store only reads for its debug
// lines. Defined here so the workspace includes this header rather than
// defining it again.

// Record layout of the connected device: "QAZWS", "ABCD", or empty.
extern QString test_str;
