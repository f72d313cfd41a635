#include "editor/editor_state.h"

int32_t show_EQ_ui = 2;
int32_t tem = 0;
int32_t cur_remove_EQ_ui = 0;
QString biaozhi_name = "xxxx";
QString morendevice_name;
QString old_name;
QString current_name;
int32_t ui_flag = 0;
int32_t tem_flag = 0;
