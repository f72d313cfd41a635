#include "editor/editor_state.h"

int32_t show_EQ_ui = 2;
int32_t tem = 0;
int32_t cur_remove_EQ_ui = 0;
QString biaozhi_name = "xxxx";
QString old_biaozhi_name;
QString morendevice_name;
QString old_name;
QString current_name;
int32_t ui_flag = 0;
int32_t tem_flag = 0;
int32_t ui_biaozhi = 1;
int32_t index_biaozhi = 0;
int32_t combox_index = 0;
int32_t Ret = 0;

void forgetSelectedPreset()
{
    // Neither text is a preset key, and they differ from each other.
    current_name = QStringLiteral("deleted");
    old_name = QStringLiteral("renumbered");
}
