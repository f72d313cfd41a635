#include "io/io_texts.h"

namespace {

const IoBoxTexts kEnglish {
    .errorTitle = QStringLiteral("Error"),
    .dataError = QStringLiteral("Input file data error"),
    .listFull = QStringLiteral("The curve list is full (100 curves). Please delete a curve first."),
    .refusal
    = QStringLiteral("The preset configuration cannot be modified. Please switch to another "
                     "local configuration or machine configuration"),
    .refusalButton = QStringLiteral("OK"),
    .question = QStringLiteral("Do you want to import the current configuration"),
    .yes = QStringLiteral("Yes"),
    .newConfiguration = QStringLiteral("New Configuration"),
    .cancel = QStringLiteral("Cancel"),
};

const IoBoxTexts kChinese {
    .errorTitle = QStringLiteral("错误"),
    .dataError = QStringLiteral("输入文件数据有误"),
    .listFull = QStringLiteral("曲线列表已满（100 条），请先删除曲线"),
    .refusal = QStringLiteral("预设配置无法修改，请切换到其他本地配置或者机子配置"),
    .refusalButton = QStringLiteral("好的"),
    .question = QStringLiteral("是否导入当前配置"),
    .yes = QStringLiteral("是的"),
    .newConfiguration = QStringLiteral("新建配置"),
    .cancel = QStringLiteral("取消"),
};

} // namespace

const IoBoxTexts& ioBoxTexts(int language) { return language == 1 ? kEnglish : kChinese; }

NameDialogTexts curveNameDialogTexts(int language)
{
    if (language == 1)
        return { QStringLiteral("Enter your name:"), QStringLiteral("OK"),
            QStringLiteral("Cancel") };
    if (language == 0)
        return { QStringLiteral("请输入名字："), QStringLiteral("确认"), QStringLiteral("取消") };
    return { QStringLiteral("请输入名字："), QStringLiteral("确定"), QStringLiteral("取消") };
}
