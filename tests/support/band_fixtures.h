#pragma once

// Filter sets owned by a test, and a compact text of one band record.

#include <QString>

#include <algorithm>
#include <iterator>

#include "dsp/band.h"

// Twelve records on the stack, all cleared, pointed at like a filter set.
struct BandSet
{
    EQ_data records[12];
    EQ_data* ptrs[12];
    BandSet()
    {
        for (int i = 0; i < 12; ++i)
            ptrs[i] = &records[i];
    }
    BandSet(const BandSet& other)
        : BandSet()
    {
        std::copy(std::begin(other.records), std::end(other.records), records);
    }
    BandSet& operator=(const BandSet& other)
    {
        std::copy(std::begin(other.records), std::end(other.records), records);
        return *this;
    }
};

// "status type frequency gain Q" of one record.
inline QString bandString(const EQ_data& b)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(int(b.status))
        .arg(b.type)
        .arg(b.center_frequency)
        .arg(b.gain)
        .arg(b.Q);
}

// The same of record k of a filter set (EQ, EQ_R or a preset's eq).
inline QString bandOf(EQ_data* const set[12], int k) { return bandString(*set[k]); }
