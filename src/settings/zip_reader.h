#pragma once

#include <QString>

// Unpacks the zip archive `fileName` into `dirPath` (made when missing), entry
// by entry. An archive with an absolute entry, a symbolic link or a name that
// leads out of `dirPath` is refused as a whole before anything is written;
// nothing is ever written or made outside `dirPath`, whatever links were left in
// it, and a file or link left under an entry's name is replaced. True when
// every entry was written.
bool zipReader(QString fileName, QString dirPath);
