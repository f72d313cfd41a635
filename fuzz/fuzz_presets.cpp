// The preset files: the input is the content of both files at start-up.
// The tables hold at most their capacity, every value read is within the
// rule of its field, and what the store writes next (a rename, a save of
// the first preset) reads back at the following start exactly as the table
// held it, every other preset untouched.

#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>
#include <array>

#include "support.h"
#include "store/number_text.h"
#include "dsp/band.h"
#include "store/presets.h"

namespace {

struct Record
{
    int32_t index = 0;
    QString name;
    std::array<EQ_data, 12> eq;
};

struct Side
{
    EQ_config_data** table;
    int32_t& count;
    bool (*rename)(int, const QString&);
    bool (*update)(int);
    bool left;
};

QList<Record> snapshot(const Side& side)
{
    QList<Record> records;
    for (int i = 0; i < kLocalPresetCapacity; ++i) {
        const EQ_config_data* p = side.table[i];
        FUZZ_CHECK(p != nullptr);
        Record r { p->index, p->config_name, {} };
        for (int k = 0; k < 12; ++k) {
            FUZZ_CHECK(p->eq[k] != nullptr);
            r.eq[k] = *p->eq[k];
        }
        records.append(r);
    }
    return records;
}

// The object elements a reader can see in the file.
int objectCount(const QByteArray& content)
{
    const QJsonDocument doc = QJsonDocument::fromJson(content);
    int n = 0;
    for (const QJsonValue& v : doc.array())
        n += v.isObject() ? 1 : 0;
    return n;
}

double reread(const QString& text) { return finiteNumber(text).value_or(0.0); }

// What a save writes of a record and the next start reads of it, through
// the rules of the fields as the reader takes it.
std::array<EQ_data, 12> saved(const std::array<EQ_data, 12>& eq, bool left)
{
    std::array<EQ_data, 12> out = eq;
    out[0].gain = heldGain(reread(left ? QString::number(eq[0].gain, 'f', 1) : gText(eq[0].gain)));
    for (int k = 1; k < 12; ++k) {
        out[k].gain = heldGain(reread(gText(eq[k].gain)));
        out[k].Q = heldQ(reread(gText(eq[k].Q)));
    }
    return out;
}

void checkSame(const Record& got, const Record& want)
{
    FUZZ_CHECK(got.index == want.index);
    FUZZ_CHECK(got.name == want.name);
    FUZZ_CHECK(got.eq[0].status == want.eq[0].status);
    FUZZ_CHECK(got.eq[0].gain == want.eq[0].gain);
    for (int k = 1; k < 12; ++k) {
        const EQ_data& a = got.eq[k];
        const EQ_data& b = want.eq[k];
        FUZZ_CHECK(
            a.status == b.status && a.type == b.type && a.center_frequency == b.center_frequency);
        FUZZ_CHECK(a.gain == b.gain && a.Q == b.Q);
    }
}

// Every field read is within its field's rule: holding it changes nothing.
bool held(const EQ_data& b, bool preamp)
{
    EQ_data h = b;
    if (preamp)
        holdPreampFields(h);
    else
        holdBandFields(h);
    return h.status == b.status && h.type == b.type && h.center_frequency == b.center_frequency
        && h.gain == b.gain && h.Q == b.Q;
}

void checkRead(const Side& side, int expectedCount)
{
    FUZZ_CHECK(side.count == std::min(expectedCount, kLocalPresetCapacity));
    for (int i = 0; i < side.count; ++i)
        for (int k = 0; k < 12; ++k)
            FUZZ_CHECK(held(*side.table[i]->eq[k], k == 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content = fuzz::bytes(data, size);
    fuzz::putFile(presetFilePath(), content);
    fuzz::putFile(presetFilePath_R(), content);
    EQ_config_Init();

    const Side sides[] = {
        { CB_data, config_count, EQ_config_Rename, EQ_config_Update, true },
        { CB_data_R, config_count_R, EQ_config_Rename_R, EQ_config_Update_R, false },
    };
    const int objects = objectCount(content);
    QList<Record> expected[2];
    for (int s = 0; s < 2; ++s) {
        const Side& side = sides[s];
        checkRead(side, objects);
        const QList<Record> before = snapshot(side);
        expected[s] = before;
        const int index = side.count > 0 ? before[0].index : 0;
        const QString name = QStringLiteral("renamed \u00e9\u4e2d");
        FUZZ_CHECK(side.rename(index, name));
        FUZZ_CHECK(side.update(index));
        if (side.count > 0) {
            expected[s][0].name = name;
            if (index >= 0 && index < kLocalPresetCapacity)
                expected[s][0].eq = saved(before[index].eq, side.left);
        }
    }

    EQ_config_Init();
    for (int s = 0; s < 2; ++s) {
        const Side& side = sides[s];
        checkRead(side, objects);
        const QList<Record> after = snapshot(side);
        for (int i = 0; i < kLocalPresetCapacity; ++i)
            checkSame(after[i], expected[s][i]);
    }
    return 0;
}
