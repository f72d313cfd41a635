#include "store/presets.h"

#include <QDebug>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include "store/file_io.h"
#include "store/json_list.h"
#include "store/number_text.h"
#include "store/paths.h"
#include "store/shared_state.h"

EQ_config_data* CB_data[kLocalPresetCapacity];
EQ_config_data* CB_data_R[kLocalPresetCapacity];
int32_t config_count = 0;
int32_t config_count_R = 0;
EQ_config_data* Device_CB_data[kDevicePresetSlots];
EQ_config_data* Device_CB_data_R[kDevicePresetSlots];
QList<QJsonObject> config_jsonDataList;
QList<QJsonObject> config_jsonDataList_R;

Config_Deal::Config_Deal() = default;
config_deal_R::config_deal_R() = default;

namespace {

// Everything that differs between the left (or linked) and the right file;
// each operation is written once and run on one of these.
struct Channel
{
    const char* relativePath;
    QList<QJsonObject>& list;
    EQ_config_data** table;
    int32_t& count;
    EQ_data** set; // the filter set being edited
    EQ_data* startupSet;
    bool left; // the left side logs more and saves the preamp gain as "%.1f"
};

EQ_data startupLeft[12];
EQ_data startupRight[12];

Channel leftChannel()
{
    return { "Workspace_Config/EQ_config.QVconfig", config_jsonDataList, CB_data, config_count, EQ,
        startupLeft, true };
}

Channel rightChannel()
{
    return { "Workspace_Config/EQ_config_R.QVconfig", config_jsonDataList_R, CB_data_R,
        config_count_R, EQ_R, startupRight, false };
}

QString pathOf(const Channel& ch) { return appFilePath(QLatin1String(ch.relativePath)); }

void initChannelRecords(const Channel& ch)
{
    EQ_data* startup[12];
    for (int k = 0; k < 12; ++k) {
        startup[k] = &ch.startupSet[k];
        ch.set[k] = startup[k];
    }
    setStartupBandValues(startup);
    // Records are made once and reused: the filter sets may point into them.
    for (int n = 0; n < kLocalPresetCapacity; ++n) {
        EQ_config_data*& rec = ch.table[n];
        if (!rec) {
            rec = new EQ_config_data;
            for (auto& band : rec->eq)
                band = new EQ_data;
        }
        rec->index = 0;
        rec->config_name.clear();
        setStartupBandValues(rec->eq);
    }
}

void ensureRecords(const Channel& ch)
{
    if (!ch.table[0])
        initChannelRecords(ch);
}

// Every field goes through the rule of its field (dsp/band.h), the one a
// typed value follows: a value in range is kept as written, so a file the
// program wrote reads back unchanged; one out of range is held or takes the
// default. A field that is missing, no whole number (integer fields) or no
// finite number (nan, inf, 1e999) is read as the field's default.
long long integerField(QStringView text, long long missing)
{
    bool ok = false;
    const long long v = text.toLongLong(&ok, 10);
    return ok ? v : missing;
}

double realField(QStringView text, double missing) { return finiteNumber(text).value_or(missing); }

QString preampText(const EQ_data& b, bool oneDecimal)
{
    return QString::number(int(b.status)) + QLatin1Char(' ')
        + (oneDecimal ? QString::number(b.gain, 'f', 1) : gText(b.gain));
}

QString bandText(const EQ_data& b)
{
    return QStringList { QString::number(int(b.status)), QString::number(b.type),
        QString::number(b.center_frequency), gText(b.gain), gText(b.Q) }
        .join(QLatin1Char(' '));
}

const QString& bandKey(int k)
{
    static const QList<QString> keys = [] {
        QList<QString> list;
        for (int n = 0; n < 12; ++n)
            list.append(QStringLiteral("eq_") + QString::number(n));
        return list;
    }();
    return keys.at(k);
}

void readPreamp(const QString& text, EQ_data& b)
{
    const QStringView all(text);
    const qsizetype blank = all.indexOf(QLatin1Char(' '));
    const QStringView status = blank < 0 ? all : all.left(blank);
    const QStringView gain = blank < 0 ? all : all.mid(blank + 1);
    const EQ_data defaults;
    b.status = heldStatus(integerField(status, defaults.status));
    b.gain = heldGain(realField(gain, defaults.gain));
}

void readBand(const QString& text, EQ_data& b)
{
    const QList<QStringView> f = QStringView(text).split(QLatin1Char(' '), Qt::KeepEmptyParts);
    const auto field = [&f](int i) { return i < f.size() ? f.at(i) : QStringView(); };
    const EQ_data defaults;
    b.status = heldStatus(integerField(field(0), defaults.status));
    b.type = heldType(integerField(field(1), defaults.type));
    b.center_frequency = heldFrequency(integerField(field(2), defaults.center_frequency));
    b.gain = heldGain(realField(field(3), defaults.gain));
    b.Q = heldQ(realField(field(4), defaults.Q));
}

void readTable(const Channel& ch, const QList<QJsonObject>& objects)
{
    ensureRecords(ch);
    ch.count = 0;
    for (const QJsonObject& obj : objects) {
        EQ_config_data& rec = *ch.table[ch.count];
        rec.index = obj.value(QLatin1String("index")).toInt(0);
        rec.config_name = obj.value(QLatin1String("config_name")).toString();
        readPreamp(obj.value(QLatin1String("eq_gain")).toString(), *rec.eq[0]);
        for (int k = 1; k < 12; ++k)
            readBand(obj.value(bandKey(k)).toString(), *rec.eq[k]);
        qDebug() << "config_index:" << rec.index << rec.config_name << preampText(*rec.eq[0], false)
                 << bandText(*rec.eq[1]);
        ++ch.count;
        qDebug() << "config_count:" << ch.count;
    }
}

void readTable(const Channel& ch, const QByteArray& data)
{
    readTable(ch, store::tableObjects(data, kLocalPresetCapacity));
}

store::MirroredList mirrored(const Channel& ch)
{
    return { pathOf(ch), ch.list, [ch](const QByteArray& data) { readTable(ch, data); },
        kLocalPresetCapacity };
}

QByteArray generate(const Channel& ch) { return store::indentedArray(ch.list); }

void appendPreset(const Channel& ch, int index, const QString& name)
{
    EQ_data fallback; // only when no set is in place yet
    const auto band = [&](int k) -> const EQ_data& { return ch.set[k] ? *ch.set[k] : fallback; };
    QJsonObject obj;
    obj.insert(QLatin1String("index"), index);
    obj.insert(QLatin1String("config_name"), name);
    obj.insert(QLatin1String("eq_gain"), preampText(band(0), false));
    for (int k = 1; k < 12; ++k)
        obj.insert(bandKey(k), bandText(band(k)));
    if (ch.left)
        qDebug() << "write" << name;
    ch.list.append(obj);
}

// First start, or a file that cannot be opened: the one "Default" preset.
void startWithDefault(const Channel& ch, bool writeToDisk)
{
    ch.list.clear();
    appendPreset(ch, 0, QStringLiteral("Default"));
    const QByteArray bytes = generate(ch);
    if (writeToDisk && !store::writeFile(pathOf(ch), bytes, store::kOpenAttempts))
        qDebug() << "cannot create" << pathOf(ch);
    if (writeToDisk)
        store::readBack(mirrored(ch), bytes);
    else
        readTable(ch, bytes);
}

void loadExisting(const Channel& ch)
{
    const QString path = pathOf(ch);
    QByteArray data;
    if (!store::readFile(path, &data, store::kOpenAttempts)) {
        qDebug() << "cannot open" << path << "- using the default preset";
        store::keepBadCopyBeforeNextWrite(path);
        startWithDefault(ch, false);
        return;
    }
    // One parse serves the table and the list.
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(data, &error);
    readTable(ch, store::tableObjects(doc, error, kLocalPresetCapacity));
    ch.list.clear();
    if (error.error != QJsonParseError::NoError || !doc.isArray()) {
        if (ch.left)
            qDebug() << "不是一个JSON数组";
        else if (error.error != QJsonParseError::NoError)
            qDebug() << "解析错误";
        store::keepBadCopyBeforeNextWrite(path);
        return;
    }
    ch.list = store::objectsOf(doc);
}

bool rewriteFrom(const Channel& ch, const QJsonArray& array)
{
    const QByteArray bytes = QJsonDocument(array).toJson(QJsonDocument::Indented);
    if (!store::writeFile(pathOf(ch), bytes)) {
        qDebug() << "cannot write" << pathOf(ch);
        return false;
    }
    if (ch.left)
        qDebug().noquote() << bytes;
    ch.list = store::objectsOf(QJsonDocument(array));
    return true;
}

int findIndex(const QJsonArray& array, int index)
{
    for (int i = 0; i < array.size(); ++i)
        if (array.at(i).toObject().value(QLatin1String("index")).toInt() == index)
            return i;
    return -1;
}

bool addPreset(const Channel& ch, int index, const QString& name)
{
    return store::addAndWrite(
        mirrored(ch), [&] { appendPreset(ch, index, name); },
        ch.left ? "EQ_config_file_Add" : nullptr);
}

bool savePreset(const Channel& ch, int index)
{
    if (ch.left)
        qDebug() << "test_str123" << test_str;
    QJsonArray array = store::arrayOf(ch.list);
    if (ch.left)
        qDebug() << "jsonArray::size:" << array.size();
    const int pos = findIndex(array, index);
    if (pos >= 0 && (index < 0 || index >= kLocalPresetCapacity || !ch.table[index])) {
        qDebug() << "no preset record" << index;
    } else if (pos >= 0) {
        const EQ_config_data& rec = *ch.table[index];
        QJsonObject obj = array.at(pos).toObject();
        obj.insert(QLatin1String("eq_gain"), preampText(*rec.eq[0], ch.left));
        for (int k = 1; k < 12; ++k) {
            const QString text = bandText(*rec.eq[k]);
            obj.insert(bandKey(k), text);
            if (ch.left)
                qDebug() << "eq value:" << text;
        }
        array.replace(pos, obj);
    }
    return rewriteFrom(ch, array);
}

bool renamePreset(const Channel& ch, int index, const QString& name)
{
    QJsonArray array = store::arrayOf(ch.list);
    const int pos = findIndex(array, index);
    if (pos >= 0) {
        QJsonObject obj = array.at(pos).toObject();
        obj.insert(QLatin1String("config_name"), name);
        array.replace(pos, obj);
    }
    return rewriteFrom(ch, array);
}

} // namespace

QString presetFilePath() { return pathOf(leftChannel()); }
QString presetFilePath_R() { return pathOf(rightChannel()); }

void EQ_config_value_Init()
{
    initChannelRecords(leftChannel());
    initChannelRecords(rightChannel());
}

void EQ_config_value_Init_R() { initChannelRecords(rightChannel()); }

void EQ_config_Init()
{
    EQ_config_value_Init();
    store::removeLeftoverTemporaries(presetFilePath());
    store::removeLeftoverTemporaries(presetFilePath_R());
    if (QFile::exists(presetFilePath())) {
        qDebug() << "已经创建 配置文件AAAAAA";
        qDebug() << "test_str123" << test_str;
        loadExisting(leftChannel());
        loadExisting(rightChannel());
        return;
    }
    qDebug() << "新创建EQ配置文件";
    startWithDefault(leftChannel(), true);
    startWithDefault(rightChannel(), true);
}

void EQ_config_Init_R()
{
    EQ_config_value_Init_R();
    store::removeLeftoverTemporaries(presetFilePath_R());
    if (QFile::exists(presetFilePath_R()))
        loadExisting(rightChannel());
    else
        startWithDefault(rightChannel(), true);
}

void EQ_config_Write(int index, QString name) { appendPreset(leftChannel(), index, name); }
void EQ_config_Write_R(int index, QString name) { appendPreset(rightChannel(), index, name); }
void EQ_config_Write_R2(int index, QString name) { appendPreset(rightChannel(), index, name); }

QByteArray config_generateJsonArray() { return generate(leftChannel()); }
QByteArray config_generateJsonArray_R() { return generate(rightChannel()); }
QByteArray config_generateJsonArray_R2() { return generate(rightChannel()); }

void EQ_config_Read(QByteArray data) { readTable(leftChannel(), data); }
void EQ_config_Read_R(QByteArray data) { readTable(rightChannel(), data); }
void EQ_config_Read_R2(QByteArray data) { readTable(rightChannel(), data); }

bool EQ_config_file_Add(int index, QString name) { return addPreset(leftChannel(), index, name); }
bool EQ_config_file_Add_R(int index, QString name)
{
    return addPreset(rightChannel(), index, name);
}
bool EQ_config_Update(int index) { return savePreset(leftChannel(), index); }
bool EQ_config_Update_R(int index) { return savePreset(rightChannel(), index); }

void savePresetFiles(int index)
{
    EQ_config_Update(index);
    EQ_config_Update_R(index);
}

bool EQ_config_Rename(int index, const QString& name)
{
    return renamePreset(leftChannel(), index, name);
}
bool EQ_config_Rename_R(int index, const QString& name)
{
    return renamePreset(rightChannel(), index, name);
}
void EQ_config_removeDataByIndex(int index) { store::removeByIndex(config_jsonDataList, index); }
void EQ_config_removeDataByIndex_R(int index)
{
    store::removeByIndex(config_jsonDataList_R, index);
}
void EQ_config_removeDataByIndex_R2(int index)
{
    store::removeByIndex(config_jsonDataList_R, index);
}
bool EQ_config_removeAndReorder(int index)
{
    return store::removeRenumberAndWrite(mirrored(leftChannel()), index);
}
bool EQ_config_removeAndReorder_R(int index)
{
    return store::removeRenumberAndWrite(mirrored(rightChannel()), index);
}
