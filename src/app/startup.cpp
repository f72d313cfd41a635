#include "app/startup.h"

#include <QDebug>
#include <QDir>
#include <QStringList>

void makeWorkingFolders(const QString& base)
{
    const QStringList folders{base + "/Workspace_Config", base + "/Target", base + "/Frequency"};
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
