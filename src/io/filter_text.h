#pragma once

// Filter text files: one filter set, the preamp and the bands, one line each.
// The program writes its own lines ("Preamp: -3 dB", "Filter 1: ON PK Fc 20
// Hz Gain 3 dB Q 0.2") and reads them back, as well as the looser lines of
// measurement tools (a header block, optional Gain and Q, "T60 target").

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

#include "dsp/band.h"

// The filter sets an import fills: the left (or linked) set EQ, the right
// set EQ_R, or both with the same values.
enum class FilterTarget { Left, Right, Both };

// A set has eleven bands; matches after the eleventh are ignored.
constexpr int kMaxImportedBands = 11;

// One band as a filter line gives it, its values already limited.
struct ImportedBand
{
    uint8_t status = 0;
    std::optional<int32_t> type; // none: a type word not in the table leaves the type as it was
    int32_t center_frequency = 20;
    double gain = 0.0;
    double Q = 0.707;
};

struct FilterImport
{
    // Own lines only: the preamp rounded to 0.1 dB; importing it switches it on.
    std::optional<double> preamp;
    QList<ImportedBand> bands; // band 1 first
};

// The file text of a set: the preamp, then bands 1 to 10 (band 11 is never
// written), each line ended by "\n".
QByteArray filterText(EQ_data* const set[12]);

// Write the file of EQ, resp. EQ_R. False, with "FILE_ERR" logged, when the
// path cannot be written; an older file then stays as it was.
bool exportToTXT(const QString& path, EQ_data* const set[12]);
bool exportToTXT2(const QString& path, R_EQ_data* const set[12]);

// What a filter text holds: own syntax when its first line contains
// "Preamp", else the loose syntax from its tenth line on. A line holding a
// number too large for a double is one that does not match.
FilterImport parseFilterText(const QString& text);

// Stores an import in a set: the preamp (on) when the import has one, and
// band n from the n-th band; later bands keep their values.
void applyFilterImport(const FilterImport& import, EQ_data* const set[12]);

// Reads the text into the set or sets `target` names.
void importFilterText(const QString& text, FilterTarget target);

// The same from a file. A file that cannot be opened changes nothing
// (false); an import problem is never reported otherwise.
bool importFromTXT(const QString& path, FilterTarget target);
