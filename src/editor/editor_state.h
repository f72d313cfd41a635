#pragma once

// Editor state shared with the device link and the preset workspace.
// GUI thread only.

#include <QString>

#include <cstdint>

extern int32_t show_EQ_ui; // band rows shown in the editor (at most 10 through the add button)
extern int32_t tem; // switched-on rows counted while a reload reveals rows
extern int32_t cur_remove_EQ_ui; // row whose remove button was pressed last
extern QString biaozhi_name; // "yyyy" while a device preset is selected, "xxxx" for a local one
extern QString old_biaozhi_name; // biaozhi_name before the last selection
extern QString morendevice_name; // name of the selected device preset
// The same-preset test of the channel-mode switch: the key (localPresetKey,
// devicePresetKey) of the preset selected now and of the one for which the
// mode was last decided. Other texts written here match no key.
extern QString old_name;
extern QString current_name;
extern int32_t ui_flag; // slot of the selected device preset
extern int32_t tem_flag; // slot for which the channel mode was last applied
extern int32_t ui_biaozhi; // mode of the current preset: 1 "L/R", 0 "L+R"
extern int32_t index_biaozhi; // selected local preset: key of its stored mode
extern int32_t combox_index; // channel-mode index handled last
extern int32_t Ret; // answer of the discard box, or a value that is none

// After a preset was deleted or the presets renumbered: the next selection
// counts as a preset switch, even when it lands on the same number.
void forgetSelectedPreset();
