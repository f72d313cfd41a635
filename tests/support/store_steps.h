#pragma once

// A fixed walk through the store's own write calls, shared by the program
// that rewrites the store files until it is killed and by the test that
// checks what a kill leaves: every step writes exactly one file, and what it
// writes depends only on the steps before it, so a replay in a scratch
// folder gives the content every file must hold after any step.

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include "store/channel_modes.h"
#include "store/curve_list.h"
#include "store/paths.h"
#include "store/presets.h"
#include "store/settings.h"

namespace store_steps {

// The rewriting program logs each completed step as "<step>\n" in one
// write. The last complete line is the last step done, -1 before the first;
// only the log's tail is read, since the test asks for it between steps.
inline int lastLoggedStep(const QString& logPath)
{
    constexpr qint64 kTail = 32; // at least two lines of an int step
    QFile log(logPath);
    if (!log.open(QIODevice::ReadOnly))
        return -1;
    if (log.size() > kTail)
        log.seek(log.size() - kTail);
    const QList<QByteArray> lines = log.read(kTail).split('\n');
    // The last element follows the last line end: empty, or a line still
    // being written.
    bool ok = false;
    const int step = lines.size() >= 2 ? lines[lines.size() - 2].toInt(&ok) : -1;
    return ok ? step : -1;
}

// What a start reads, in the program's start order.
inline void start()
{
    QDir(appDataDir()).mkpath(QStringLiteral("Workspace_Config"));
    config_Init();
    EQ_config_Init();
    loadConfig();
    buffer_Init();
}

inline QStringList files()
{
    return { settingsFilePath(), presetFilePath(), presetFilePath_R(), channelModeFilePath(),
        curveListFilePath() };
}

// Values a preset file keeps exactly (half dB, quarter Q).
inline void fillPreset(EQ_config_data& p, int step)
{
    p.eq[0]->gain = double(step % 25 - 12) / 2.0;
    for (int k = 1; k < 12; ++k) {
        EQ_data& b = *p.eq[k];
        b.status = (step + k) % 2;
        b.type = 1 + (step + k) % 5;
        b.center_frequency = 20 + (step * 37 + k * 101) % 20000;
        b.gain = double((step * 7 + k) % 49 - 24) / 2.0;
        b.Q = 0.25 * (1 + (step + k) % 40);
    }
}

inline void run(int step)
{
    const QString tag = QStringLiteral("step %1 \u00e9\u4e2d").arg(step);
    switch (step % 8) {
    case 0:
        EQ_config_Rename(0, tag);
        break;
    case 1:
        fillPreset(*CB_data[0], step);
        EQ_config_Update(0);
        break;
    case 2:
        // The preset list grows and shrinks, so the file's length changes.
        if (config_count < 5)
            EQ_config_file_Add(config_count, tag);
        else
            EQ_config_removeAndReorder(1);
        break;
    case 3:
        fillPreset(*CB_data_R[0], step);
        EQ_config_Update_R(0);
        break;
    case 4:
        sysSetValue.EQ_save_file_path = QStringLiteral("/home/u/") + tag;
        sysSetValue.Language = step % 2;
        Config_update();
        break;
    case 5:
        addOrUpdateConfig(step % 7, step / 8 % 2);
        saveConfig();
        break;
    case 6:
        if (buffer_count < 4)
            file_Add(step % 3 ? QStringLiteral("tar") : QStringLiteral("fre"), buffer_count, tag,
                QStringLiteral("/curves/%1.csv").arg(step));
        else
            removeAndReorder(step % 4);
        break;
    case 7:
        EQ_config_Rename_R(0, tag);
        break;
    }
}

} // namespace store_steps
