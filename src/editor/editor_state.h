#pragma once

// Editor state shared with the device link and the preset workspace.
// GUI thread only.

#include <QString>

#include <cstdint>

extern int32_t show_EQ_ui;        // band rows shown in the editor (at most 10 through the add button)
extern int32_t tem;               // switched-on rows counted while a reload reveals rows
extern int32_t cur_remove_EQ_ui;  // row whose remove button was pressed last
extern QString biaozhi_name;      // "yyyy" while a device preset is selected, "xxxx" for a local one
extern QString morendevice_name;  // name of the selected device preset
extern QString old_name;          // previously selected preset
extern QString current_name;      // currently selected preset
extern int32_t ui_flag;           // slot of the selected device preset
extern int32_t tem_flag;          // slot for which the channel mode was last applied
