#include "app/startup.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFont>
#include <QStringList>

#include "widgets/globalfont.h"

void makeWorkingFolders(const QString& base)
{
    const QStringList folders { base + "/Workspace_Config", base + "/Target", base + "/Frequency" };
    for (const QString& path : folders) {
        QDir dir(path);
        if (dir.exists())
            qDebug() << " 文件夹 " << path << "已经存在,跳过创建";
        else if (dir.mkdir(path))
            qDebug() << "文件夹 " << path << "创建成功 ";
        else
            qDebug() << " 无法创建文件夹 " << path << ".";
    }
}

bool installApplicationFont()
{
    if (!gFont.loadFont(":ThirdPartyResources/fonts/SourceHanSansCN-Bold.ttf")) {
        qDebug() << "Can not load font";
        return false;
    }
    qDebug() << "load font";
    gFont.save();
    gFont.setPointSize(9);
    QApplication::setFont(gFont.font());
    qDebug() << "a.setFont(gFont.font());";
    gFont.restore();
    QFont appFont = QApplication::font();
    appFont.setHintingPreference(QFont::PreferNoHinting);
    QApplication::setFont(appFont);
    // The curve pickers and the channel-mode box name a family of the desktop
    // the form was drawn for; elsewhere they would fall back to a thin system
    // font beside the bold program font.
    gFont.substituteMissing({ QStringLiteral("微软雅黑") });
    return true;
}
