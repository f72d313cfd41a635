#include "store/channel_modes.h"

#include <QDebug>
#include <QFile>

#include "store/file_io.h"
#include "store/paths.h"

QMap<int, int> m_configMap;

namespace {

int decimal(const QString& text)
{
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    return ok ? v : 0;
}

QByteArray mapText()
{
    QByteArray text;
    for (auto it = m_configMap.cbegin(); it != m_configMap.cend(); ++it)
        text += QByteArray::number(it.key()) + ':' + QByteArray::number(it.value()) + '\n';
    return text;
}

} // namespace

QString channelModeFilePath()
{
    return appFilePath(QStringLiteral("Workspace_Config/ui_config.txt"));
}

void loadConfig()
{
    const QString path = channelModeFilePath();
    store::removeLeftoverTemporaries(path);
    m_configMap.clear();
    if (!QFile::exists(path)) {
        qDebug() << "新创建UI_EQ配置文件";
        // Local preset 0 starts as "L/R".
        m_configMap.insert(0, 1);
        qDebug() << "本地更新本地更新";
        if (!store::writeFile(path, mapText(), store::kOpenAttempts))
            qDebug() << "cannot create" << path;
        return;
    }
    qDebug() << "已经创建配置文件UI_EQ";
    QByteArray data;
    if (!store::readFile(path, &data, store::kOpenAttempts)) {
        qDebug() << "cannot open" << path << "- preset 0 is \"L/R\"";
        m_configMap.insert(0, 1);
        return;
    }
    // Collect every pair first and rewrite the file once at the end.
    const QStringList lines = QString::fromUtf8(data).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QStringList parts = line.split(QLatin1Char(':'), Qt::KeepEmptyParts);
        if (parts.size() < 2)
            continue; // no ":" (an empty line included): nothing to read
        const int key = decimal(parts.at(0));
        const int value = decimal(parts.at(1));
        m_configMap.insert(key, value);
        qDebug() << "本地更新本地更新"; // as addOrUpdateConfig, whose write waits for the end
        qDebug() << "keyValue[i].toInt() " << key << value;
    }
    saveConfig();
}

int getConfig(int key)
{
    const auto it = m_configMap.constFind(key);
    if (it == m_configMap.cend()) {
        qDebug() << "Key not found!";
        return -1;
    }
    return it.value();
}

void addOrUpdateConfig(int key, int value)
{
    m_configMap.insert(key, value);
    qDebug() << "本地更新本地更新";
    saveConfig();
}

void saveConfig() { store::writeFile(channelModeFilePath(), mapText()); }

void deleteConfig(int key)
{
    if (m_configMap.remove(key) == 0) {
        qDebug() << "Key not found!";
        return;
    }
    saveConfig();
}
