#pragma once

// Whole-set uploads: the frames that bring a device in line with the filter
// sets, between 0x9E01 data 1 and 0x9E01 data 0, and the sending of them.
// Records are sent in order (preamp, then bands 1 to 11), the left
// channel's frames of a record before the right channel's.

#include "editor/band_edit.h"

// The upload after a preset change, a remove or a one-band reset. Linked:
// both channels from EQ, all fields of a record that is on, its status alone
// otherwise. Left/Right: the edited set likewise; the other set only when
// the device keeps both preamps in step (state 129 or 193), a record that is
// off by its status alone (0), one that is on whole, any other status not at
// all.
FrameList setUploadFrames(EditRoute route, EQ_data* const* left, EQ_data* const* right,
    int32_t deviceEqStatus, bool gainTenths);

// The upload after "Clear all filters": as above, but the edited channel's
// records are always sent whole (116 frames when linked).
FrameList clearedSetUploadFrames(EditRoute route, EQ_data* const* left, EQ_data* const* right,
    int32_t deviceEqStatus, bool gainTenths);

// Writes the frames to the device one by one while it has answered the
// hello; a failed write does not stop the rest. Timed: the elapsed
// milliseconds (truncated) of a sent upload go to standard output as
// "任务运行时间: <ms> 毫秒" and to the debug log.
void sendSetUpload(const FrameList& frames, bool timed);
