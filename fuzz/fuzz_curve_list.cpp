// The curve-list file: the input is its content at start-up. The table
// holds at most its capacity; an added curve reads back after the entries
// already there (or is refused when the list is full, changing nothing); and
// removing it again leaves the entries as they were, renumbered in order.

#include <QJsonDocument>

#include "support.h"
#include "store/curve_list.h"

namespace {

struct Entry
{
    QString type;
    int32_t index;
    QString name;
    QString path;
    bool operator==(const Entry&) const = default;
};

QList<Entry> table()
{
    FUZZ_CHECK(buffer_count >= 0 && buffer_count <= kCurveListCapacity);
    QList<Entry> entries;
    for (int i = 0; i < buffer_count; ++i)
        entries.append({ BD_value[i].type, BD_value[i].index, BD_value[i].name, BD_value[i].path });
    return entries;
}

// An index no object of the list carries, so a removal takes only the new one.
int unusedIndex()
{
    int index = -1;
    bool taken = true;
    while (taken) {
        taken = false;
        for (const QJsonObject& obj : jsonDataList)
            taken = taken || obj.value(QLatin1String("index")).toInt() == index;
        index -= taken ? 1 : 0;
    }
    return index;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = curveListFilePath();
    fuzz::putFile(path, fuzz::bytes(data, size));
    buffer_Init();
    const QList<Entry> before = table();
    FUZZ_CHECK(before.size() == std::min<qsizetype>(jsonDataList.size(), kCurveListCapacity));

    const int index = unusedIndex();
    const Entry added { QStringLiteral("tar"), index, QStringLiteral("fuzz \u4e2d"),
        QStringLiteral("/x/y.csv") };
    if (jsonDataList.size() >= kCurveListCapacity) {
        const QByteArray file = fuzz::fileBytes(path);
        FUZZ_CHECK(!file_Add(added.type, added.index, added.name, added.path));
        FUZZ_CHECK(table() == before && fuzz::fileBytes(path) == file);
        return 0;
    }
    FUZZ_CHECK(file_Add(added.type, added.index, added.name, added.path));
    FUZZ_CHECK(table() == QList<Entry>(before) << added);

    FUZZ_CHECK(removeAndReorder(index));
    QList<Entry> renumbered = before;
    for (int i = 0; i < renumbered.size(); ++i)
        renumbered[i].index = i;
    FUZZ_CHECK(table() == renumbered);

    // The next start reads what was written.
    buffer_Init();
    FUZZ_CHECK(table() == renumbered);
    return 0;
}
