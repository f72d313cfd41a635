#pragma once

#include <QMap>
#include <QString>

// Channel mode remembered per local preset: key = preset index, value =
// index of the channel-mode list (0 "L+R", 1 "L/R"). Mirrored in
// Workspace_Config/ui_config.txt, one "key:value" line per entry.
extern QMap<int, int> m_configMap;

QString channelModeFilePath();

void loadConfig();
int getConfig(int key); // -1 when no mode is stored
void addOrUpdateConfig(int key, int value);
void saveConfig();
void deleteConfig(int key);
