#pragma once

// The frames of a whole-set upload: every value of the preamp and of bands 1
// to 11 for the left and the right channel, between a begin and an end frame.

#include <QList>

#include "device/frame.h"
#include "dsp/band.h"

constexpr int kWholeSetFrameCount = 116;

// 0x9E01 data 1; the preamp (0x9C01 device gain word, 0x9C02 status, then
// 0x9C03/0x9C04 for the right channel); for band b = 1..11 with group byte
// 0x90 + b: G01 type, G02 frequency, G03 gain (x 10 when the device takes
// tenths, else x 2), G04 Q x 10000, G05 status, then G06..G0A the same from
// `right`; 0x9E01 data 0. Values are truncated toward zero. Every frame is a
// one-frame message of protocol 0x20.
QList<qv_hid_new::CustomHidFrameInfo> wholeSetFrames(EQ_data* const left[12],
                                                     EQ_data* const right[12], bool gainTenths);
