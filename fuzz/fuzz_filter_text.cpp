// Filter text import: the input is the file's content, read through the
// program's own file import into both filter sets. No value it leaves is
// non-finite, every band the import fills holds the import's ranges, and the
// set exported, imported again and exported once more gives the same file.

#include <cmath>

#include "band_fixtures.h"
#include "support.h"
#include "io/filter_text.h"
#include "store/paths.h"

namespace {

// A value no import writes, so a band the import did not fill shows.
constexpr int32_t kUntouchedFrequency = -12345;

void prepare(EQ_data* const set[12])
{
    for (int k = 0; k < 12; ++k) {
        *set[k] = EQ_data {};
        set[k]->center_frequency = kUntouchedFrequency;
    }
}

void checkImported(const EQ_data& b)
{
    FUZZ_CHECK(b.status == 0 || b.status == 1);
    FUZZ_CHECK(b.type >= 1 && b.type <= 5);
    FUZZ_CHECK(b.center_frequency >= kBandMinHz && b.center_frequency <= kBandMaxHz);
    FUZZ_CHECK(b.gain >= -kBandGainLimitDb && b.gain <= kBandGainLimitDb);
    FUZZ_CHECK(b.Q >= kBandMinQ && b.Q <= kBandMaxQ);
}

bool sameBand(const EQ_data& a, const EQ_data& b)
{
    return a.status == b.status && a.type == b.type && a.center_frequency == b.center_frequency
        && a.gain == b.gain && a.Q == b.Q;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static BandSet left, right;
    const QString path = appFilePath(QStringLiteral("filters.txt"));
    fuzz::putFile(path, fuzz::bytes(data, size));
    prepare(left.ptrs);
    prepare(right.ptrs);
    for (int k = 0; k < 12; ++k) {
        EQ[k] = left.ptrs[k];
        EQ_R[k] = right.ptrs[k];
    }
    FUZZ_CHECK(importFromTXT(path, FilterTarget::Both));

    for (const BandSet* set : { &left, &right })
        for (const EQ_data& b : set->records)
            FUZZ_CHECK(std::isfinite(b.gain) && std::isfinite(b.Q));

    // The own syntax rounds the preamp to a tenth, holds it to the gain
    // range and switches it on; the loose syntax leaves it alone.
    const EQ_data& preamp = left.records[0];
    if (preamp.status == 1) {
        FUZZ_CHECK(preamp.gain >= -kBandGainLimitDb && preamp.gain <= kBandGainLimitDb);
        FUZZ_CHECK(std::round(preamp.gain * 10.0) / 10.0 == preamp.gain);
    }
    for (int n = 1; n <= 11; ++n) {
        FUZZ_CHECK(sameBand(left.records[n], right.records[n]));
        if (left.records[n].center_frequency == kUntouchedFrequency) {
            // Bands are filled in order: none after the first left alone.
            for (int m = n + 1; m <= 11; ++m)
                FUZZ_CHECK(left.records[m].center_frequency == kUntouchedFrequency);
            break;
        }
        checkImported(left.records[n]);
    }

    // Exported and imported again, the set exports to the same text.
    const QByteArray text = filterText(left.ptrs);
    const QString exported = appFilePath(QStringLiteral("exported.txt"));
    FUZZ_CHECK(exportToTXT(exported, left.ptrs) && fuzz::fileBytes(exported) == text);
    BandSet again;
    prepare(again.ptrs);
    for (int k = 0; k < 12; ++k)
        EQ[k] = again.ptrs[k];
    FUZZ_CHECK(importFromTXT(exported, FilterTarget::Left));
    FUZZ_CHECK(filterText(again.ptrs) == text);
    return 0;
}
