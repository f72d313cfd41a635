#pragma once

// Rules of the curve list that need no widget: names, the files behind them
// and the remembered choices.

#include <QString>

#include <optional>

struct BD_data;

// `name`, with "(1)" appended while an entry of the same type already
// carries it (case-sensitive); entries of the other type do not count.
QString uniqueCurveName(
    const QString& name, const QString& type, const BD_data* entries, int count);

// Where a new curve's file goes: "<folder>/<file name>.csv". The typed name
// stays the display name; the file name drops "/", "\" and control
// characters and leading dots, is "curve" when nothing is left, and gets
// "(1)" appended while another entry's file has that path. Empty when the
// result would not lie directly inside `folder`, or is a link.
QString curveFilePath(
    const QString& folder, const QString& name, const BD_data* entries, int count);

// A remembered choice (-1 none) after entry `removed` left the list and the
// entries above it moved down by one: the same entry, -1 when it was the
// removed one.
int selectionAfterRemoval(int selected, int removed);

// Where a picker's highlight goes for a key pressed in its open list of
// `count` rows, `page` of them in view: Up and Down move one row, Page Up and
// Page Down one page, Home and End to the ends, stopping at either end.
// From no highlight (`current` -1) the keys that move down start at the
// first row and those that move up at the last. -1 for an empty list;
// nothing for a key that does not move the highlight.
std::optional<int> highlightAfterKey(int key, int current, int count, int page);
